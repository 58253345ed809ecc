#include "link/ui/PortSelection.h"

#include "link/LinkEngine.h"
#include "link/PortRule.h"
#include "platform/SerialPort.h"

#include <QComboBox>

PortSelection::PortSelection(LinkEngine& link, const ISerialPort& port, QComboBox& lines,
                             QComboBox& settings, QObject* parent)
    : QObject(parent), m_link(link), m_port(port), m_lines(lines), m_settings(settings) {}

void PortSelection::cboLines_DropDown() {
    m_lines.clear();
    m_lines.setEditText(QString());
    for (const QString& port : PortRule::QualifyingPorts(m_port.PortNames())) {
        m_lines.addItem(port);
        if (m_lines.currentText().isEmpty())
            m_lines.setEditText(port);
    }
}

void PortSelection::cboLines_Click() {
    m_link.choosePort(m_lines.currentText());
}

void PortSelection::cboBaud_Click() {
    m_link.chooseLineSettings(m_settings.currentText());
}
