#pragma once

#include "platform/LineSettings.h"
#include "platform/ParityMarks.h"
#include "platform/SerialPort.h"
#include "platform/serial/LineWriter.h"
#include "platform/serial/TermiosDevice.h"

#include <memory>

class QSocketNotifier;

// The serial port component on a termios device. The port is opened for this
// program alone, in raw mode; received bytes are collected in the component's
// own buffer as they arrive, with parity errors, framing errors and breaks
// reported as line events. Breaks and writes are made by a writer thread of
// the open port, in order, so that no call waits on the line.
class TermiosSerialPort : public ISerialPort {
    Q_OBJECT
public:
    // LastEventCode after a received break, and after a framing error on a
    // line without parity.
    static constexpr int BreakEvent = 1001;
    static constexpr int FramingErrorEvent = 1004;

    explicit TermiosSerialPort(QObject* parent = nullptr);
    // For tests: the device through which every system call goes.
    explicit TermiosSerialPort(std::unique_ptr<ITermiosDevice> device, QObject* parent = nullptr);
    ~TermiosSerialPort() override;

    void setLineSettings(const QString& settings) override { m_lineSettings = settings; }
    QString LineSettings() const override { return m_lineSettings; }
    void setPortName(const QString& name) override { m_portName = name; }
    QString PortName() const override { return m_portName; }
    void setStartupOptions(const SerialStartupOptions& options) override { m_options = options; }
    void setIsOpen(bool open) override;
    bool IsOpen() const override { return m_fd != -1; }
    void setBreakState(bool on) override;
    bool BreakState() const override { return m_breakOn; }
    bool Write(const LineWrite& write) override;
    qint64 WaitingCount() const override { return m_received.size(); }
    QByteArray ReadAll() override;
    QByteArray Read(qint64 maxBytes) override;
    QByteArray PeekWaiting() const override { return m_received; }
    int LastEventCode() const override { return m_lastEventCode; }
    QString StatusText() const override { return m_statusText; }
    bool Lost() const override { return m_lost; }
    QStringList PortNames() const override;

private:
    void openPort();
    // Applies the line format and the start-up options to the open device;
    // returns why that failed, empty on success.
    QString configureDevice(const LineFormat& format);
    bool runsAtSpeedOf(const termios& wanted);
    void closePort();
    void releaseDevice();
    void dropLostDevice();
    void readAvailable();
    int eventCode(MarkedCondition condition) const;
    // On this thread, a write of the writer's open port `generation` ended.
    void writeDone(quint64 generation, const LineWriter::Done& done);
    void setStatus(const QString& text);
    // The port name as a device path: a bare name such as ttyUSB0 is under /dev.
    QString devicePath() const;

    std::unique_ptr<ITermiosDevice> m_device;
    QString m_lineSettings = QStringLiteral("1200,E,7,1");
    QString m_portName;
    SerialStartupOptions m_options;
    QString m_statusText = QStringLiteral("Closed");
    bool m_lost = false;

    QString m_openPath;
    int m_fd = -1;
    bool m_lineHasParity = false;
    bool m_breakOn = false;
    QSocketNotifier* m_readNotifier = nullptr;
    std::unique_ptr<LineWriter> m_writer;
    quint64 m_openCount = 0; // tells a finished write of an earlier opening
    ParityMarkDecoder m_marks;
    QByteArray m_received;
    int m_lastEventCode = 0;
};
