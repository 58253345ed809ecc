#pragma once

#include "platform/SerialPort.h"

class FakeClock;

// A serial component that records, in order, every operation asked of it
// and receives whatever the test hands it. Its writes finish at once, or,
// when the test holds them, when the test lets them go.
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
    bool Write(const LineWrite& write) override;
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
    // Writes wait (as during a break on a real line) until FinishWrites.
    void setHoldWrites(bool hold) { m_holdWrites = hold; }
    // A finished write with a break lets its break and marking pass on this clock.
    void setClock(FakeClock* clock) { m_clock = clock; }
    void FinishWrites();
    int HeldWrites() const { return int(m_held.size()); }

    // What the test reads back.
    QStringList Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    QByteArray Sent() const { return m_sent; }
    void ClearSent() { m_sent.clear(); }
    // The break and marking lengths asked for, in milliseconds, in order.
    QList<int> Waits() const { return m_waits; }

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
    QList<int> m_waits;
    bool m_holdWrites = false;
    FakeClock* m_clock = nullptr;
    QList<LineWrite> m_held;
};
