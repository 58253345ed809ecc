#include "sensors/ui/frmChangeAddress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmChangeAddress::frmChangeAddress(QChar from, const QString& freeAddresses, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Change address"));
    lblChangeFrom = new QLabel(tr("The sensor at %1 takes the address:").arg(from), this);
    cboNewAddress = new QComboBox(this);
    cboNewAddress->setAccessibleName(tr("New address"));
    for (const QChar address : freeAddresses)
        cboNewAddress->addItem(address);
    lblChangeFrom->setBuddy(cboNewAddress);
    chkOthersOnBus = new QCheckBox(
        tr("&Other sensors share the bus: change it without asking \"?!\" first"), this);
    chkOthersOnBus->setToolTip(
        tr("Unless this is ticked, \"?!\" must be answered by this sensor alone, so that no "
           "other sensor can take the change for itself"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Change"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* page = new QVBoxLayout(this);
    auto* choice = new QFormLayout;
    choice->addRow(lblChangeFrom, cboNewAddress);
    page->addLayout(choice);
    page->addWidget(chkOthersOnBus);
    page->addWidget(buttons);
}

QChar frmChangeAddress::NewAddress() const {
    const QString text = cboNewAddress->currentText();
    return text.size() == 1 ? text.at(0) : QChar();
}

bool frmChangeAddress::OthersOnBus() const {
    return chkOthersOnBus->isChecked();
}
