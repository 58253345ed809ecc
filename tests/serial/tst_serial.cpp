#include "platform/LineSettings.h"
#include "platform/ParityMarks.h"
#include "platform/TerminalText.h"
#include "platform/serial/TermiosDevice.h"
#include "platform/serial/TermiosSerialPort.h"

#include <QtTest>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

// The component opens the slave side; the test plays the sensor on the master,
// where tcgetattr and tcsetattr reach the slave's settings.
struct PseudoTerminal {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    QString slavePath = grantpt(master) == 0 && unlockpt(master) == 0 ? ptsname(master) : "";
    ~PseudoTerminal() { ::close(master); }
    void send(QByteArray b) const { QVERIFY(::write(master, b.data(), b.size()) == b.size()); }
    // Waits up to 5 s for count bytes.
    QByteArray receive(qsizetype count) const {
        QByteArray got(count, '\0');
        qsizetype size = 0;
        for (QDeadlineTimer deadline(5000); size < count && !deadline.hasExpired(); QTest::qWait(1))
            size += std::max<ssize_t>(0, ::read(master, got.data() + size, count - size));
        return got.left(size);
    }
};

// The real device, recording its break requests with the bytes written
// before each. Writes find in turn the driver full, a signal before the
// first byte, and room for at most 7 bytes; every other read is interrupted
// too. Queued sending and the retries are exercised by every test. The
// port's writer thread makes the writes and breaks, so what is recorded is
// guarded.
class FlakyTermiosDevice : public PosixTermiosDevice {
public:
    QStringList requests() const {
        const QMutexLocker lock(&m_mutex);
        return m_requests;
    }

    ssize_t readSome(int fd, char* buffer, size_t size) override {
        if ((m_readInterrupted = !m_readInterrupted))
            return errno = EINTR, -1;
        return PosixTermiosDevice::readSome(fd, buffer, size);
    }
    ssize_t writeSome(int fd, const char* bytes, size_t size) override {
        switch (m_writes++ % 3) {
        case 0:
            return errno = EAGAIN, -1;
        case 1:
            return errno = EINTR, -1;
        }
        const ssize_t written = PosixTermiosDevice::writeSome(fd, bytes, qMin<size_t>(size, 7));
        const QMutexLocker lock(&m_mutex);
        m_written += qMax<ssize_t>(0, written);
        return written;
    }
    int setBreak(int fd, bool on) override {
        const QMutexLocker lock(&m_mutex);
        m_requests << QString("break %1 after %2").arg(on ? "on" : "off").arg(m_written);
        return PosixTermiosDevice::setBreak(fd, on);
    }

private:
    mutable QMutex m_mutex;
    QStringList m_requests;
    qint64 m_written = 0;
    bool m_readInterrupted = false;
    int m_writes = 0;
};

class TestSerial : public QObject {
    Q_OBJECT
    std::unique_ptr<PseudoTerminal> pty;
    FlakyTermiosDevice* device = nullptr;
    std::unique_ptr<TermiosSerialPort> port;

private slots:
    void init() {
        pty = std::make_unique<PseudoTerminal>();
        device = new FlakyTermiosDevice;
        port = std::make_unique<TermiosSerialPort>(std::unique_ptr<ITermiosDevice>(device));
        port->setPortName(pty->slavePath);
    }

    // A break, a doubled FF and two bad bytes (one of them FF): every way of
    // cutting the stream into two reads gives the same result.
    void decodesMarks() {
        const QByteArray marked("x\xFF\0\0y\xFF\xFFz\xFF\0\xFF\xFF\0M!", 15);
        using M = MarkedCondition;
        const std::vector<M> conditions{M::Break, M::BadCharacter, M::BadCharacter};
        for (qsizetype cut = 0; cut <= marked.size(); ++cut) {
            ParityMarkDecoder decoder;
            DecodedInput first = decoder.decode(marked.left(cut));
            const DecodedInput rest = decoder.decode(marked.mid(cut));
            first.conditions.insert(first.conditions.end(), rest.conditions.begin(),
                                    rest.conditions.end());
            QCOMPARE(first.data + rest.data, "xy\xFFz\xFFM!");
            QVERIFY2(first.conditions == conditions, qPrintable(QString::number(cut)));
        }
    }

    // The flags asked of the line for the settings, and the settings as
    // written back.
    void readsLineSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("cflag");
        QTest::addColumn<QString>("result");
        QTest::newRow("blanks, lower case, O, 2 stop bits")
            << " 1200 , o , 7 , 2 " << uint(CS7 | PARENB | PARODD | CSTOPB) << "1200,O,7,2";
        QTest::newRow("M") << "9600,M,8,1" << uint(CS8 | PARENB | PARODD | CMSPAR) << "9600,M,8,1";
        QTest::newRow("N, 6 bits") << "38400,N,6,1" << uint(CS6) << "38400,N,6,1";
    }
    void readsLineSettings() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        const LineSettingsParse parsed = parseLineSettings(text);
        QVERIFY2(parsed.ok, qPrintable(parsed.refusal));
        QCOMPARE(parsed.format.toText(), result);
        termios attributes{}; // as an earlier format left it
        attributes.c_cflag = CS8 | PARODD | CSTOPB | CRTSCTS;
        attributes.c_iflag = IGNPAR | ISTRIP | IXON;
        applyLineFormat(attributes, parsed.format, 0);
        QTEST(uint(attributes.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS)),
              "cflag");
        QCOMPARE(attributes.c_iflag & (INPCK | PARMRK | IGNPAR | ISTRIP | IXON), INPCK | PARMRK);
    }

    // One formatter throughout: a CR LF split across chunks still ends one line.
    void formatsTerminalText() {
        TerminalTextFormatter formatter;
        QString text = formatter.format("0+1\r");
        QCOMPARE(text + formatter.format("\n2"), "0+1\n2");
        QCOMPARE(formatter.format("a\rb\nc\n\rd"), "a\nb\nc\n\nd");
        QCOMPARE(formatter.format(QByteArray("\xFE!\t\0\x7F", 5)), "<FE>!\t<00><7F>");
    }

    // The driver doubles a received 0xFF; it counts once.
    void opensAloneReceivesAndCloses() {
        port->setLineSettings("1200,E,9,1");
        port->setIsOpen(true);
        QVERIFY(port->StatusText().endsWith("must be 5 to 8; the port stays closed"));
        port->setLineSettings("9600,n,8,1");
        port->setIsOpen(true);
        QCOMPARE(port->StatusText(), "Open: " + pty->slavePath + " at 9600,N,8,1");
        termios attributes{};
        tcgetattr(pty->master, &attributes);
        QCOMPARE(cfgetospeed(&attributes), speed_t(B9600));
        QCOMPARE(attributes.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
        pty->send("0+1.23\xFF\r\n");
        QTRY_COMPARE(port->WaitingCount(), 9);
        QCOMPARE(port->ReadAll(), "0+1.23\xFF\r\n");
        TermiosSerialPort second;
        second.setPortName(pty->slavePath);
        second.setIsOpen(true);
        QCOMPARE(second.StatusText(), pty->slavePath + " is in use by another program");
        const auto exclusiveFlag = [this] {
            int exclusive = -1;
            const int probe = ::open(qPrintable(pty->slavePath), O_RDWR | O_NOCTTY);
            ioctl(probe, TIOCGEXCL, &exclusive);
            ::close(probe);
            return exclusive;
        };
        QCOMPARE(exclusiveFlag(), 1); // the failed claim left the holder's flag alone
        port->setIsOpen(false);
        QCOMPARE(port->StatusText(), "Closed");
        QCOMPARE(exclusiveFlag(), 0); // left set, it keeps every user but root out
    }

    // Only with a real adaptor attached: PROBETERM_TEST_PORT names its device.
    void opensTheAdaptorNamedByTheEnvironment() {
        const QString adaptor = qEnvironmentVariable("PROBETERM_TEST_PORT");
        if (adaptor.isEmpty())
            QSKIP("PROBETERM_TEST_PORT names no serial adaptor");
        TermiosSerialPort real;
        real.setPortName(adaptor);
        real.setLineSettings("1200,E,7,1");
        real.setIsOpen(true);
        QVERIFY2(real.IsOpen(), qPrintable(real.StatusText()));
        QSignalSpy finished(&real, &ISerialPort::WriteFinished);
        real.Write({50, 20, "?!", 1});
        QVERIFY(finished.wait(2000));
        QVERIFY(finished.at(0).at(1).toBool());
        real.setIsOpen(false);
        QCOMPARE(real.StatusText(), QStringLiteral("Closed"));
    }

    // Through a driver that is often full, queued bytes go out in order, a
    // break follows everything written before it, and each write tells when
    // it is done; the transmitted events echo what went out.
    void writesInOrderWithTheirBreaks() {
        const QByteArray text = QByteArray("0123456789").repeated(20);
        QByteArray echoed;
        connect(port.get(), &ISerialPort::BytesTransmitted,
                [&](const QByteArray& b) { echoed += b; });
        QSignalSpy finished(port.get(), &ISerialPort::WriteFinished);
        port->setIsOpen(true);
        for (qsizetype at = 0; at < text.size(); at += 3)
            port->Transmit(text.mid(at, 3));
        QVERIFY(port->Write({50, 20, "0M!", 7}));
        QCOMPARE(pty->receive(text.size() + 3), text + "0M!");
        QTRY_COMPARE(finished.count(), int(text.size() + 2) / 3 + 1);
        QCOMPARE(finished.last().at(0).value<quint64>(), quint64(7));
        QVERIFY(finished.last().at(1).toBool());
        QCOMPARE(echoed, text + "0M!");
        QCOMPARE(device->requests(), QStringList({"break on after 200", "break off after 200"}));
    }

    // Closing the port ends a break in progress at once and drops the writes
    // that wait; none of them is reported as done.
    void closingEndsABreakInProgress() {
        QSignalSpy finished(port.get(), &ISerialPort::WriteFinished);
        port->setIsOpen(true);
        port->Write({60000, 20, "0M!", 1});
        port->Write({0, 0, "0I!", 2});
        QTRY_COMPARE(device->requests().size(), 1); // the break is on
        port->setIsOpen(false);
        QCOMPARE(device->requests(), QStringList({"break on after 0", "break off after 0"}));
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);
        char byte = 0;
        QCOMPARE(::read(pty->master, &byte, 1), ssize_t(-1)); // nothing was written
    }

    // A pseudo-terminal makes no line errors, so the test turns marking off
    // on the slave and writes the driver's marks itself.
    void reportsLineEvents_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("code");
        QTest::newRow("parity error") << "1200,E,7,1" << 1009;
        QTest::newRow("framing error on a line without parity") << "9600,N,8,1" << 1004;
    }
    void reportsLineEvents() {
        QFETCH(QString, settings);
        port->setLineSettings(settings);
        port->setIsOpen(true);
        termios attributes{};
        tcgetattr(pty->master, &attributes);
        attributes.c_iflag &= ~tcflag_t(PARMRK);
        QCOMPARE(tcsetattr(pty->master, TCSANOW, &attributes), 0);
        QSignalSpy events(port.get(), &ISerialPort::LineEvent);
        pty->send(QByteArray("0\xFF\0\x31!", 5));
        QTRY_COMPARE(events.count(), 1);
        QCOMPARE(port->ReadAll(), "01!");
        QTEST(port->LastEventCode(), "code"); // still describes what was read
        pty->send(QByteArray("\xFF\0\0", 3));
        QTRY_COMPARE(port->LastEventCode(), 1001);
        pty->send("ok");
        QTRY_COMPARE(port->WaitingCount(), 2);
        QCOMPARE(port->LastEventCode(), 0);
    }

    // Once closed it uses no processor time: a dead descriptor would wake it for ever.
    void closesWhenTheDeviceGoesAway() {
        port->setIsOpen(true);
        QSignalSpy status(port.get(), &ISerialPort::StatusChanged);
        pty.reset();
        QTRY_VERIFY(!port->IsOpen());
        QCOMPARE(status.count(), 1);
        QVERIFY2(port->StatusText().contains("went away"), qPrintable(port->StatusText()));
        const std::clock_t before = std::clock();
        QTest::qWait(300);
        QVERIFY(std::clock() - before < CLOCKS_PER_SEC / 10);
        port->Transmit("0!");
        QCOMPARE(port->StatusText(), "Not sent: the port is closed");
        port->setPortName("ttyNoSuch9");
        port->setIsOpen(true);
        QCOMPARE(port->StatusText(), "No such port: /dev/ttyNoSuch9");
    }
};

QTEST_MAIN(TestSerial)
#include "tst_serial.moc"
