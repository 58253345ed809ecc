#include "link/ui/PortSelection.h"

#include "link/PortRule.h"
#include "platform/SerialPort.h"
#include "platform/StatusPanels.h"

#include <QComboBox>

PortSelection::PortSelection(ISerialPort& sax, QComboBox& lines, QComboBox& baud,
                             IStatusPanels& status, QObject* parent)
    : QObject(parent), Sax(sax), cboLines(lines), cboBaud(baud), m_status(status) {}

void PortSelection::cboLines_DropDown() {
    cboLines.clear();
    cboLines.setEditText(QString());
    for (const QString& port : PortRule::QualifyingPorts(Sax.PortNames())) {
        cboLines.addItem(port);
        if (cboLines.currentText().isEmpty())
            cboLines.setEditText(port);
    }
}

void PortSelection::cboLines_Click() {
    Sax.setIsOpen(false);
    Sax.setPortName(cboLines.currentText());
    reopen();
}

void PortSelection::cboBaud_Click() {
    Sax.setIsOpen(false);
    Sax.setLineSettings(cboBaud.currentText());
    reopen();
}

void PortSelection::reopen() {
    Sax.setIsOpen(true);
    m_status.SetPanelText(1, Sax.StatusText());
}
