#include "support/FakeSerialPort.h"

void FakeSerialPort::setLineSettings(const QString& settings) {
    m_lineSettings = settings;
    m_calls << QStringLiteral("LineSettings=") + settings;
}

void FakeSerialPort::setPortName(const QString& name) {
    m_portName = name;
    m_calls << QStringLiteral("PortName=") + name;
}

void FakeSerialPort::setStartupOptions(const SerialStartupOptions& options) {
    m_options = options;
    m_calls << QStringLiteral("StartupOptions");
}

void FakeSerialPort::setIsOpen(bool open) {
    m_calls << (open ? QStringLiteral("IsOpen=true") : QStringLiteral("IsOpen=false"));
    if (open && m_openFails) {
        m_open = false;
        m_status = QStringLiteral("No such port: ") + m_portName;
        return;
    }
    m_open = open;
    m_status = open ? QStringLiteral("Open: %1 at %2").arg(m_portName, m_lineSettings)
                    : QStringLiteral("Closed");
}

void FakeSerialPort::setBreakState(bool on) {
    m_break = on;
    m_calls << (on ? QStringLiteral("Break=on") : QStringLiteral("Break=off"));
}

void FakeSerialPort::Transmit(const QByteArray& bytes) {
    m_calls << QStringLiteral("Transmit=") + QString::fromLatin1(bytes.toHex(' '));
    if (!m_open) {
        m_status = QStringLiteral("Not sent: the port is closed");
        return;
    }
    m_sent += bytes;
    emit BytesTransmitted(bytes);
}

QByteArray FakeSerialPort::ReadAll() {
    const QByteArray bytes = m_waiting;
    m_waiting.clear();
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
