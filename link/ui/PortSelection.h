#pragma once

#include <QObject>

class QComboBox;
class ISerialPort;
class IStatusPanels;

// The port area's two choices: the serial port (rebuilt from the system's
// ports at every drop-down) and the line settings. Each choice closes the
// port, applies the shown value and opens the port again.
class PortSelection : public QObject {
    Q_OBJECT
public:
    PortSelection(ISerialPort& Sax, QComboBox& cboLines, QComboBox& cboBaud, IStatusPanels& status,
                  QObject* parent = nullptr);

    void cboLines_DropDown();
    void cboLines_Click();
    void cboBaud_Click();

private:
    void reopen();

    ISerialPort& Sax;
    QComboBox& cboLines;
    QComboBox& cboBaud;
    IStatusPanels& m_status;
};
