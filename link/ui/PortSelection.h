#pragma once

#include <QObject>

class QComboBox;
class ISerialPort;
class LinkEngine;

// The port area's two choices: the serial port (rebuilt from the system's
// ports at every drop-down) and the line settings. Each choice closes the
// port, applies the shown value and opens the port again.
class PortSelection : public QObject {
    Q_OBJECT
public:
    PortSelection(LinkEngine& link, const ISerialPort& Sax, QComboBox& cboLines, QComboBox& cboBaud,
                  QObject* parent = nullptr);

    void cboLines_DropDown();
    void cboLines_Click();
    void cboBaud_Click();

private:
    LinkEngine& m_link;
    const ISerialPort& m_port;
    QComboBox& m_lines;    // cboLines
    QComboBox& m_settings; // cboBaud
};
