#include "platform/serial/TermiosSerialPort.h"
#include "support/RecordingTermiosDevice.h"

#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The component opens the slave side; the test plays the sensor on the master.
struct PseudoTerminal {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    QString slavePath = grantpt(master) == 0 && unlockpt(master) == 0
                            ? QString::fromLocal8Bit(ptsname(master))
                            : QString();
    ~PseudoTerminal() { ::close(master); }
    void send(const QByteArray& bytes) const {
        QVERIFY(::write(master, bytes.constData(), bytes.size()) > 0);
    }
    QByteArray receive(qsizetype count) const {
        QByteArray got;
        char chunk[4096];
        for (QDeadlineTimer deadline(5000); got.size() < count && !deadline.hasExpired();) {
            QTest::qWait(1);
            for (ssize_t n; (n = ::read(master, chunk, sizeof chunk)) > 0;)
                got.append(chunk, n);
        }
        return got;
    }
    termios slaveAttributes() const {
        termios attributes{}; // on the master, tcgetattr reads the slave's settings
        tcgetattr(master, &attributes);
        return attributes;
    }
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

class TermiosSerialPortTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PseudoTerminal> pty;
    RecordingTermiosDevice* device = nullptr;
    std::unique_ptr<TermiosSerialPort> port;

private slots:
    void init() {
        pty = std::make_unique<PseudoTerminal>();
        QVERIFY(!pty->slavePath.isEmpty());
        auto recording = std::make_unique<RecordingTermiosDevice>();
        device = recording.get();
        port = std::make_unique<TermiosSerialPort>(std::move(recording));
        port->setPortName(pty->slavePath);
    }

    void opensAloneInRawModeAndCloses() {
        port->setLineSettings(QStringLiteral("9600,n,8,1"));
        port->setIsOpen(true);
        QCOMPARE(port->StatusText(), "Open: " + pty->slavePath + " at 9600,N,8,1");
        const termios attributes = pty->slaveAttributes();
        QCOMPARE(cfgetospeed(&attributes), speed_t(B9600));
        QCOMPARE(attributes.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
        QCOMPARE(attributes.c_oflag & OPOST, tcflag_t(0));
        QCOMPARE(attributes.c_cflag & (CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
        TermiosSerialPort second;
        second.setPortName(pty->slavePath);
        second.setIsOpen(true);
        QCOMPARE(second.StatusText(), pty->slavePath + " is in use by another program");
        port->setIsOpen(false);
        QCOMPARE(port->StatusText(), "Closed");
        int exclusive = -1; // left set, it keeps other users than root out
        const int probe = ::open(qPrintable(pty->slavePath), O_RDWR | O_NOCTTY);
        QCOMPARE(ioctl(probe, TIOCGEXCL, &exclusive), 0);
        ::close(probe);
        QCOMPARE(exclusive, 0);
        second.setIsOpen(true); // the same settings again: a pseudo-terminal changes nothing
        QVERIFY2(second.IsOpen(), qPrintable(second.StatusText()));
    }

    void transmitsInOrderThroughAFullDriver() {
        device->writeLimit = 7;
        QSignalSpy sent(port.get(), &ISerialPort::BytesTransmitted);
        port->setIsOpen(true);
        QByteArray expected;
        for (int i = 0; i < 50; ++i) {
            port->Transmit(QByteArray::number(i) + "M!");
            expected += QByteArray::number(i) + "M!";
        }
        QCOMPARE(pty->receive(expected.size()), expected);
        QByteArray echoed;
        for (const QList<QVariant>& signal : sent)
            echoed += signal.at(0).toByteArray();
        QCOMPARE(echoed, expected);
    }

    void receivesIntoTheBuffer() {
        port->setIsOpen(true);
        pty->send("0+1.23\xFF\r\n");
        QTRY_COMPARE(port->WaitingCount(), 9); // the driver's doubled 0xFF counts once
        QCOMPARE(port->ReadAll(), "0+1.23\xFF\r\n");
        QCOMPARE(port->WaitingCount(), 0);
    }

    void reportsLineEvents_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QByteArray>("marked");
        QTest::addColumn<int>("code");
        QTest::newRow("parity") << "1200,E,7,1" << QByteArray("0\xFF\x00\x31!", 5) << 1009;
        QTest::newRow("framing") << "9600,N,8,1" << QByteArray("0\xFF\x00\x31!", 5) << 1004;
        QTest::newRow("break") << "1200,E,7,1" << QByteArray("0\xFF\x00\x00\x31!", 6) << 1001;
    }

    // A pseudo-terminal makes no line errors, so the test turns marking off
    // on the slave and writes the driver's marks itself.
    void reportsLineEvents() {
        QFETCH(QString, settings);
        QFETCH(QByteArray, marked);
        port->setLineSettings(settings);
        port->setIsOpen(true);
        termios attributes = pty->slaveAttributes();
        attributes.c_iflag &= ~tcflag_t(PARMRK);
        QCOMPARE(tcsetattr(pty->master, TCSANOW, &attributes), 0);
        QSignalSpy events(port.get(), &ISerialPort::LineEvent);
        pty->send(marked);
        QTRY_COMPARE(events.count(), 1);
        QCOMPARE(port->ReadAll(), "01!");
        QTEST(port->LastEventCode(), "code"); // still describes what was read
        pty->send("ok");
        QTRY_COMPARE(port->WaitingCount(), 2);
        QCOMPARE(port->LastEventCode(), 0);
    }

    void closesWhenTheDeviceGoesAway() {
        port->setIsOpen(true);
        QSignalSpy status(port.get(), &ISerialPort::StatusChanged);
        pty.reset();
        QTRY_VERIFY(!port->IsOpen());
        QCOMPARE(status.count(), 1);
        QVERIFY2(port->StatusText().contains("went away"), qPrintable(port->StatusText()));
        const double before = cpuSeconds();
        QTest::qWait(300);
        QVERIFY(cpuSeconds() - before < 0.1); // no busy loop on a dead descriptor
        port->Transmit("0!");
        QCOMPARE(port->StatusText(), "Not sent: the port is closed");
    }

    void explainsFailures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("status");
        const auto row = [](const char* name, const char* settings, const char* status) {
            QTest::newRow(status) << QString(name) << QString(settings) << QString(status);
        };
        row("ttyNoSuch9", "1200,E,7,1", "No such port: /dev/ttyNoSuch9");
        row("/dev/null", "1200,E,7,1", "/dev/null is not a serial port");
        row("/dev/null", "1200,E,9,1",
            "Line settings \"1200,E,9,1\" refused: data bits must be 5 to 8; the port stays "
            "closed");
    }

    void explainsFailures() {
        QFETCH(QString, name);
        QFETCH(QString, settings);
        port->setPortName(name);
        port->setLineSettings(settings);
        port->setIsOpen(true);
        QVERIFY(!port->IsOpen());
        QTEST(port->StatusText(), "status");
    }

    void asksTheDeviceForTheFormat_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("flowControl");
        QTest::addColumn<uint>("cflagOn");
        QTest::addColumn<uint>("iflagOn");
        const auto row = [](const char* settings, int flowControl, uint cflagOn, uint iflagOn) {
            QTest::newRow(settings)
                << QString(settings) << flowControl << cflagOn << (iflagOn | INPCK | PARMRK);
        };
        row("1200,E,7,1", 0, CS7 | PARENB, 0);
        row("1200,O,7,2", 0, CS7 | PARENB | PARODD | CSTOPB, 0);
        row("9600,M,8,1", 0, CS8 | PARENB | PARODD | CMSPAR, 0);
        row("9600,N,8,1", 1, CS8, IXON | IXOFF);
        row("38400,N,6,1", 2, CS6 | CRTSCTS, 0);
    }

    // Only the record shows these: a pseudo-terminal forces 8 bits, no parity.
    void asksTheDeviceForTheFormat() {
        QFETCH(QString, settings);
        SerialStartupOptions options;
        QFETCH(int, flowControl);
        options.FlowControl = flowControl;
        port->setStartupOptions(options);
        port->setLineSettings(settings);
        port->setIsOpen(true);
        const termios& asked = device->lastAttributes;
        QTEST(uint(asked.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS)),
              "cflagOn");
        QTEST(uint(asked.c_iflag & (INPCK | PARMRK | IGNPAR | ISTRIP | IXON | IXOFF)), "iflagOn");
        QCOMPARE(cfgetispeed(&asked), termiosSpeed(settings.section(',', 0, 0).toInt()));
    }

    void breaksAfterQueuedOutput() {
        port->setBreakState(true);
        QCOMPARE(port->StatusText(), "Break not sent: the port is closed");
        port->setIsOpen(true);
        device->writeLimit = 2;
        port->Transmit("0I!");
        port->setBreakState(true);
        QVERIFY(port->BreakState());
        QCOMPARE(pty->receive(3), "0I!"); // all of it went out before the break
        port->setBreakState(false);
        QCOMPARE(device->requests, QStringList({"drain", "break on", "break off"}));
    }

    void opensARealAdaptor() {
        const QString adaptor = qEnvironmentVariable("PROBETERM_TEST_PORT");
        if (adaptor.isEmpty())
            QSKIP("PROBETERM_TEST_PORT names no serial adaptor");
        TermiosSerialPort real;
        real.setPortName(adaptor);
        real.setLineSettings(QStringLiteral("1200,E,7,1"));
        real.setIsOpen(true);
        QVERIFY2(real.IsOpen(), qPrintable(real.StatusText()));
    }
};

QTEST_GUILESS_MAIN(TermiosSerialPortTest)
#include "tst_TermiosSerialPort.moc"
