#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

// Asks which free address the sensor at `from` takes, and whether the
// operator confirms that other sensors share the bus (then "?!" is not
// asked first). It offers only the addresses given: those the last scan
// found free.
class frmChangeAddress : public QDialog {
    Q_OBJECT
public:
    frmChangeAddress(QChar from, const QString& freeAddresses, QWidget* parent = nullptr);

    QLabel* lblChangeFrom = nullptr;
    QComboBox* cboNewAddress = nullptr;
    QCheckBox* chkOthersOnBus = nullptr;

    QChar NewAddress() const;
    bool OthersOnBus() const;
};
