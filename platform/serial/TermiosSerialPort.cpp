#include "platform/serial/TermiosSerialPort.h"

#include <QFile>
#include <QSerialPortInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

namespace {

// Bytes taken from the device at one wake-up; more waiting wakes us again, so
// a flood of input cannot hold up the event loop.
constexpr qsizetype maxReadPerWakeUp = 64 * 1024;

// One character's time on the line: start bit, data, parity and stop bits.
int microsecondsPerByte(const LineFormat& format) {
    const int bits = 1 + format.dataBits + (format.hasParity() ? 1 : 0) + format.stopBits;
    return int(qint64(bits) * 1000000 / format.baud);
}

QString openFailure(const QString& path, int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QStringLiteral("No such port: %1").arg(path);
    case EACCES:
    case EPERM:
        return QStringLiteral("Permission denied for %1: add your user to the dialout group "
                              "(sudo adduser $USER dialout), then log in again")
            .arg(path);
    case EBUSY:
    case EWOULDBLOCK:
        return QStringLiteral("%1 is in use by another program").arg(path);
    case ENOTTY:
        return QStringLiteral("%1 is not a serial port").arg(path);
    default:
        return QStringLiteral("Cannot open %1: %2")
            .arg(path, QString::fromLocal8Bit(strerror(error)));
    }
}

} // namespace

TermiosSerialPort::TermiosSerialPort(QObject* parent)
    : TermiosSerialPort(std::make_unique<PosixTermiosDevice>(), parent) {}

TermiosSerialPort::TermiosSerialPort(std::unique_ptr<ITermiosDevice> device, QObject* parent)
    : ISerialPort(parent), m_device(std::move(device)) {}

// Closes without raising events: the receivers may already be gone.
TermiosSerialPort::~TermiosSerialPort() {
    if (!IsOpen())
        return;
    if (m_breakOn)
        m_device->setBreak(m_fd, false);
    releaseDevice();
}

void TermiosSerialPort::setIsOpen(bool open) {
    m_lost = false;
    if (open && !IsOpen())
        openPort();
    else if (!open && IsOpen())
        closePort();
}

QString TermiosSerialPort::devicePath() const {
    const QString name = m_portName.trimmed();
    return name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
}

void TermiosSerialPort::openPort() {
    if (m_portName.trimmed().isEmpty()) {
        setStatus(QStringLiteral("No port chosen"));
        return;
    }
    const LineSettingsParse parsed = parseLineSettings(m_lineSettings);
    if (!parsed.ok) {
        setStatus(QStringLiteral("Line settings \"%1\" refused: %2; the port stays closed")
                      .arg(m_lineSettings, parsed.refusal));
        return;
    }
    m_openPath = devicePath();
    m_fd = m_device->openDevice(QFile::encodeName(m_openPath));
    if (m_fd == -1) {
        setStatus(openFailure(m_openPath, errno));
        return;
    }
    const QString failure = configureDevice(parsed.format);
    if (!failure.isEmpty()) {
        releaseDevice();
        setStatus(failure);
        return;
    }
    m_lineHasParity = parsed.format.hasParity();
    m_marks.reset();
    m_received.clear();
    m_lastEventCode = 0;
    m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &TermiosSerialPort::readAvailable);
    const quint64 opening = ++m_openCount;
    m_writer = std::make_unique<LineWriter>(
        *m_device, m_fd, microsecondsPerByte(parsed.format),
        [this, opening](const LineWriter::Done& done) {
            QMetaObject::invokeMethod(
                this, [this, opening, done] { writeDone(opening, done); }, Qt::QueuedConnection);
        });
    setStatus(QStringLiteral("Open: %1 at %2").arg(m_openPath, parsed.format.toText()));
}

QString TermiosSerialPort::configureDevice(const LineFormat& format) {
    termios attributes{};
    if (m_device->claimExclusive(m_fd) == -1 || m_device->getAttributes(m_fd, attributes) == -1)
        return openFailure(m_openPath, errno);
    applyLineFormat(attributes, format, m_options.FlowControl);
    if (m_device->setAttributes(m_fd, attributes) == -1) {
        const int error = errno;
        if (error != EINVAL || !runsAtSpeedOf(attributes))
            return QStringLiteral("%1 refused the line settings %2: %3")
                .arg(m_openPath, format.toText(), QString::fromLocal8Bit(strerror(error)));
    }
    // Whatever the line carried before the open belongs to no command.
    m_device->discardInput(m_fd);
    // Adaptors without the setting, and pseudo-terminals, refuse it; the port
    // then works with the driver's usual latency.
    m_device->askLowLatency(m_fd);
    // Some adaptors have no modem lines; they work without them.
    m_device->setModemLines(m_fd, TIOCM_DTR, m_options.DtrOnOpen);
    m_device->setModemLines(m_fd, TIOCM_RTS, m_options.RtsOnOpen);
    return {};
}

// A driver may take only part of the attributes (a pseudo-terminal keeps 8 data
// bits and no parity whatever is asked); when that leaves nothing changed, the
// C library reports the call as failed. Such a device still serves as long as
// it runs at the asked speed.
bool TermiosSerialPort::runsAtSpeedOf(const termios& wanted) {
    termios actual{};
    return m_device->getAttributes(m_fd, actual) == 0 &&
           cfgetospeed(&actual) == cfgetospeed(&wanted);
}

// Writes still waiting are dropped with the port.
void TermiosSerialPort::closePort() {
    releaseDevice();
    m_statusText = QStringLiteral("Closed");
    emit StatusChanged();
}

void TermiosSerialPort::releaseDevice() {
    // Ends a break in progress and waits for the writer before the
    // descriptor goes.
    m_writer.reset();
    if (m_breakOn)
        m_device->setBreak(m_fd, false);
    if (m_readNotifier) {
        // Possibly inside this notifier's own signal, so not deleted at once.
        m_readNotifier->setEnabled(false);
        m_readNotifier->deleteLater();
    }
    m_readNotifier = nullptr;
    m_device->closeDevice(m_fd);
    m_fd = -1;
    m_breakOn = false;
}

void TermiosSerialPort::setBreakState(bool on) {
    if (!IsOpen()) {
        if (on)
            setStatus(QStringLiteral("Break not sent: the port is closed"));
        return;
    }
    m_writer->queueBreakState(on);
    m_breakOn = on;
}

bool TermiosSerialPort::Write(const LineWrite& write) {
    if (!IsOpen()) {
        setStatus(QStringLiteral("Not sent: the port is closed"));
        return false;
    }
    m_writer->queue(write);
    return true;
}

// A device that failed on the way is closed first, so that WriteFinished
// finds the port's state already told.
void TermiosSerialPort::writeDone(quint64 opening, const LineWriter::Done& done) {
    if (opening != m_openCount || !IsOpen())
        return; // the port was closed or reopened since
    if (done.Error != 0) {
        dropLostDevice();
        emit StatusChanged();
    }
    if (!done.Sent.isEmpty())
        emit BytesTransmitted(done.Sent);
    emit WriteFinished(done.Tag, done.Error == 0);
}

void TermiosSerialPort::readAvailable() {
    QByteArray raw;
    bool lost = false;
    char chunk[4096];
    while (raw.size() < maxReadPerWakeUp) {
        const ssize_t count = m_device->readSome(m_fd, chunk, sizeof chunk);
        if (count > 0) {
            raw.append(chunk, count);
            continue;
        }
        if (count == -1 && errno == EINTR)
            continue; // a signal came first: the device is still there
        // End of file or an error other than "nothing more yet": the device is
        // gone, and would wake us at once for ever if left open.
        lost = count == 0 || errno != EAGAIN;
        break;
    }
    const DecodedInput input = m_marks.decode(raw);
    QByteArray data = input.data;
    if (m_options.DiscardNulls)
        data.removeIf([](char byte) { return byte == '\0'; });
    if (m_received.isEmpty() && (!data.isEmpty() || !input.conditions.empty()))
        m_lastEventCode = 0;
    for (const MarkedCondition condition : input.conditions)
        m_lastEventCode = eventCode(condition);
    m_received += data;
    if (lost)
        dropLostDevice();
    if (!data.isEmpty())
        emit BytesReceived(data);
    for (size_t i = 0; i < input.conditions.size(); ++i)
        emit LineEvent();
    if (lost)
        emit StatusChanged();
}

// Status is set without an event; the caller raises StatusChanged once the
// rest of its work is done.
void TermiosSerialPort::dropLostDevice() {
    m_lost = true;
    m_statusText =
        QStringLiteral("%1 went away (device unplugged?); the port is closed").arg(m_openPath);
    releaseDevice();
}

int TermiosSerialPort::eventCode(MarkedCondition condition) const {
    if (condition == MarkedCondition::Break)
        return BreakEvent;
    return m_lineHasParity ? ParityErrorEvent : FramingErrorEvent;
}

QByteArray TermiosSerialPort::ReadAll() {
    QByteArray all;
    all.swap(m_received);
    return all;
}

QByteArray TermiosSerialPort::Read(qint64 maxBytes) {
    if (maxBytes >= m_received.size())
        return ReadAll();
    const QByteArray first = m_received.left(maxBytes);
    m_received.remove(0, maxBytes);
    return first;
}

void TermiosSerialPort::setStatus(const QString& text) {
    m_statusText = text;
    emit StatusChanged();
}

QStringList TermiosSerialPort::PortNames() const {
    QStringList names;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        names << port.systemLocation();
    return names;
}
