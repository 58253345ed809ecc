#include "support/FakeSerialPort.h"

#include "support/FakeClock.h"

void FakeSerialPort::setLineSettings(const QString& settings) {
    m_lineSettings = settings;
    m_calls << QStringLiteral("LineSettings=") + settings;
}

void FakeSerialPort::setPortName(const QString& name) {
    m_portName = name;
    m_calls << QStringLiteral("PortName=") + name;
}

void FakeSerialPort::setStartupOptions(const SerialStartupOptions&) {
    m_calls << QStringLiteral("StartupOptions");
}

void FakeSerialPort::setIsOpen(bool open) {
    m_calls << (open ? QStringLiteral("IsOpen=true") : QStringLiteral("IsOpen=false"));
    m_lost = false;
    if (open && m_openFails) {
        m_open = false;
        m_status = QStringLiteral("No such port: ") + m_portName;
    } else {
        // Whatever the line carried before the open belongs to no command.
        if (open && !m_open)
            m_waiting.clear();
        if (!open)
            m_held.clear(); // writes still waiting go with the port
        m_open = open;
        m_status = open ? QStringLiteral("Open: %1 at %2").arg(m_portName, m_lineSettings)
                        : QStringLiteral("Closed");
    }
    emit StatusChanged();
}

void FakeSerialPort::LoseDevice() {
    m_held.clear();
    m_open = false;
    m_lost = true;
    m_status = QStringLiteral("The device went away; the port is closed");
    emit StatusChanged();
}

void FakeSerialPort::setBreakState(bool on) {
    m_break = on;
    m_calls << (on ? QStringLiteral("Break=on") : QStringLiteral("Break=off"));
}

bool FakeSerialPort::Write(const LineWrite& write) {
    if (!m_open) {
        m_calls << QStringLiteral("Transmit=") + QString::fromLatin1(write.Bytes.toHex(' '));
        m_status = QStringLiteral("Not sent: the port is closed");
        emit StatusChanged();
        return false;
    }
    if (write.BreakMs > 0) {
        m_calls << QStringLiteral("Break=on") << QStringLiteral("Break=off");
        m_waits << write.BreakMs << write.MarkMs;
    }
    m_held.append(write);
    if (!m_holdWrites)
        FinishWrites();
    return true;
}

void FakeSerialPort::FinishWrites() {
    while (!m_held.isEmpty()) {
        const LineWrite write = m_held.takeFirst();
        if (m_clock)
            m_clock->Advance(write.BreakMs + write.MarkMs);
        m_calls << QStringLiteral("Transmit=") + QString::fromLatin1(write.Bytes.toHex(' '));
        m_sent += write.Bytes;
        if (!write.Bytes.isEmpty())
            emit BytesTransmitted(write.Bytes);
        emit WriteFinished(write.Tag, true);
    }
}

QByteArray FakeSerialPort::ReadAll() {
    return Read(m_waiting.size());
}

QByteArray FakeSerialPort::Read(qint64 maxBytes) {
    const QByteArray bytes = m_waiting.left(maxBytes);
    m_waiting.remove(0, bytes.size());
    return bytes;
}

void FakeSerialPort::Receive(const QByteArray& bytes) {
    if (m_waiting.isEmpty())
        m_lastEventCode = 0;
    m_waiting += bytes;
    emit BytesReceived(bytes);
}

void FakeSerialPort::SignalParityError() {
    m_lastEventCode = ParityErrorEvent;
    emit LineEvent();
}
