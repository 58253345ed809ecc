#pragma once

#include "platform/SerialPort.h"

// A serial component that records, in order, every operation asked of it
// and receives whatever the test hands it.
class FakeSerialPort : public ISerialPort {
    Q_OBJECT
public:
    void setLineSettings(const QString& settings) override;
    QString LineSettings() const override { return m_lineSettings; }
    void setPortName(const QString& name) override;
    QString PortName() const override { return m_portName; }
    void setStartupOptions(const SerialStartupOptions& options) override;
    void setIsOpen(bool open) override;
    bool IsOpen() const override { return m_open; }
    bool Lost() const override { return m_lost; }
    void setBreakState(bool on) override;
    bool BreakState() const override { return m_break; }
    void Transmit(const QByteArray& bytes) override;
    qint64 WaitingCount() const override { return m_waiting.size(); }
    QByteArray ReadAll() override;
    QByteArray Read(qint64 maxBytes) override;
    QByteArray PeekWaiting() const override { return m_waiting; }
    int LastEventCode() const override { return m_lastEventCode; }
    QString StatusText() const override { return m_status; }
    QStringList PortNames() const override { return m_portNames; }

    // What the test arranges.
    void setPortNamesForTest(const QStringList& names) { m_portNames = names; }
    void setOpenFails(bool fails) { m_openFails = fails; }
    void Receive(const QByteArray& bytes);
    void SignalParityError();
    // The device goes away: the port closes, as the real component does.
    void LoseDevice();

    // What the test reads back.
    QStringList Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    QByteArray Sent() const { return m_sent; }
    void ClearSent() { m_sent.clear(); }

private:
    QString m_lineSettings;
    QString m_portName;
    bool m_open = false;
    bool m_lost = false;
    bool m_openFails = false;
    bool m_break = false;
    QByteArray m_waiting;
    QByteArray m_sent;
    int m_lastEventCode = 0;
    QString m_status = QStringLiteral("Closed");
    QStringList m_portNames;
    QStringList m_calls;
};
