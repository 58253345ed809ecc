#include "link/ui/PortSelection.h"

#include "link/LinkEngine.h"
#include "link/PortRule.h"
#include "platform/SerialPort.h"

#include <QComboBox>

PortSelection::PortSelection(LinkEngine& link, const ISerialPort& sax, QComboBox& lines,
                             QComboBox& baud, QObject* parent)
    : QObject(parent), m_link(link), Sax(sax), cboLines(lines), cboBaud(baud) {}

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
    m_link.choosePort(cboLines.currentText());
}

void PortSelection::cboBaud_Click() {
    m_link.chooseLineSettings(cboBaud.currentText());
}
