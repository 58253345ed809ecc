#include <QtTest>

#include <chrono>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The simulator as a child process; its first line is the device path, the
// following ones its report.
class Sim {
public:
    explicit Sim(const QStringList& arguments) {
        process.start(qEnvironmentVariable("PROBETERM_SIM"), arguments);
        devicePath = nextLine();
    }
    ~Sim() {
        process.terminate();
        process.waitForFinished(5000);
    }
    QString nextLine() {
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        QByteArray line = process.readLine();
        line.chop(line.endsWith('\n') ? 1 : 0);
        return QString::fromLatin1(line);
    }
    bool reports(const QString& wanted) {
        for (QString line = nextLine(); !line.isEmpty(); line = nextLine()) {
            if (line == wanted)
                return true;
        }
        return false;
    }

    QProcess process;
    QString devicePath;
};

struct Arrival {
    char byte;
    Clock::time_point at;
};

// The user's end of the line, set as ProbeTerm sets it: raw, 1200 baud, 7E1.
// The pseudo-terminal keeps the speed but forces 8N1, and the kernel may then
// report the whole change as refused, so the result is not checked.
class Port {
public:
    explicit Port(const QString& path)
        : fd_(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios settings{};
        ::tcgetattr(fd_, &settings);
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, B1200);
        settings.c_cflag = (settings.c_cflag & ~CSIZE) | CS7 | PARENB;
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
    ~Port() { ::close(fd_); }

    // Stamped before the write, so the simulator cannot see the command earlier.
    void send(const QByteArray& bytes) {
        sentAt = Clock::now();
        QCOMPARE(::write(fd_, bytes.constData(), bytes.size()), ssize_t(bytes.size()));
    }
    // What arrives until CR LF, or until `limit` passes without it.
    std::vector<Arrival> receive(std::chrono::milliseconds limit = 1500ms) {
        std::vector<Arrival> arrivals;
        const auto end = Clock::now() + limit;
        for (auto now = Clock::now(); now < end; now = Clock::now()) {
            pollfd readable{fd_, POLLIN, 0};
            ::poll(&readable, 1, int((end - now) / 1ms) + 1);
            char byte;
            while (::read(fd_, &byte, 1) == 1)
                arrivals.push_back({byte, Clock::now()});
            if (arrivals.size() >= 2 && arrivals.back().byte == '\n')
                break;
        }
        return arrivals;
    }

    Clock::time_point sentAt;

private:
    int fd_;
};

QString textOf(const std::vector<Arrival>& arrivals) {
    QString text;
    for (const Arrival& arrival : arrivals)
        text += QLatin1Char(arrival.byte);
    return text;
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

class SimPtyTest : public QObject {
    Q_OBJECT

private slots:
    void exchanges_data();
    void exchanges();
    void pacing_data();
    void pacing();
    void answersAfterThePortIsReopened();
    void deviceLink_data();
    void deviceLink();
};

// "" stands for silence; `reports` are lines the simulator must print, in order.
void SimPtyTest::exchanges_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("reports");

    QTest::newRow("queries and identification")
        << QStringList{"--address", "47"} << QList<QByteArray>{"?!", "?X!", "4I!"}
        << QStringList{"4\r\n", "4KV\r\n", "413QUENVRELPRBSIM100SIM0001\r\n"}
        << QStringList{"rx ?!", "tx 4", "rx ?X!", "tx 4KV"};
    QTest::newRow("settings") << QStringList{}
                              << QList<QByteArray>{"0XB7!", "0XB?!", "0XOPM10215!", "0XW5!"}
                              << QStringList{"0XB7\r\n", "0XB7\r\n", "0XOPM10215\r\n", "0ERR\r\n"}
                              << QStringList{"set XB 7", "tx 0XB7", "set XOPM 10215", "tx 0ERR"};
    QTest::newRow("woken") << QStringList{"--wakeup", "3"}
                           << QList<QByteArray>{"\xFE\xFE\xFE"
                                                "0!"}
                           << QStringList{"0\r\n"} << QStringList{"rx 0!", "wake 3", "tx 0"};
    QTest::newRow("not woken enough") << QStringList{"--wakeup", "3"}
                                      << QList<QByteArray>{"\xFE\xFE"
                                                           "0!"}
                                      << QStringList{""} << QStringList{"wake 2"};
    QTest::newRow("silent") << QStringList{"--silent"} << QList<QByteArray>{"0!"} << QStringList{""}
                            << QStringList{"rx 0!"};
}

void SimPtyTest::exchanges() {
    QFETCH(QStringList, arguments);
    QFETCH(QList<QByteArray>, commands);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, reports);

    Sim sim(arguments);
    Port port(sim.devicePath);
    for (int i = 0; i < commands.size(); ++i) {
        port.send(commands[i]);
        QCOMPARE(textOf(port.receive(answers[i].isEmpty() ? 300ms : 1500ms)), answers[i]);
    }
    for (const QString& report : reports)
        QVERIFY2(sim.reports(report), qPrintable(report));
}

// The answer to 0I! is 29 characters. Each must arrive no earlier than its
// due time (a turnaround after the command, then one character time of
// 8.33 ms at 1200 baud 7E1 each, plus any pause) and not much later; the test
// may read late, never early, so the lower bound is the firm one.
void SimPtyTest::pacing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("turnaroundMs");
    QTest::addColumn<int>("pauseAfter");
    QTest::addColumn<double>("pauseMs");

    QTest::newRow("sensor turnaround") << QStringList{} << 10.0 << 0 << 0.0;
    QTest::newRow("late sensor") << QStringList{"--late", "200"} << 210.0 << 0 << 0.0;
    QTest::newRow("pause splits the answer")
        << QStringList{"--pause-at", "3", "--pause", "100"} << 10.0 << 3 << 100.0;
}

void SimPtyTest::pacing() {
    QFETCH(QStringList, arguments);
    QFETCH(double, turnaroundMs);
    QFETCH(int, pauseAfter);
    QFETCH(double, pauseMs);

    Sim sim(arguments);
    Port port(sim.devicePath);
    port.send("0I!");
    const std::vector<Arrival> answer = port.receive();
    QCOMPARE(answer.size(), std::size_t(29));
    for (std::size_t i = 0; i < answer.size(); ++i) {
        const double dueMs = turnaroundMs + 8.333 * double(i) +
                             (pauseAfter > 0 && i >= std::size_t(pauseAfter) ? pauseMs : 0);
        const double arrivedMs = millisecondsBetween(port.sentAt, answer[i].at);
        QVERIFY2(arrivedMs > dueMs - 1 && arrivedMs < dueMs + 60,
                 qPrintable(QString("character %1 at %2 ms").arg(i).arg(arrivedMs)));
    }
}

// ProbeTerm closes and reopens its port when the settings change.
void SimPtyTest::answersAfterThePortIsReopened() {
    Sim sim({});
    for (int round = 0; round < 2; ++round) {
        Port port(sim.devicePath);
        port.send("0!");
        QCOMPARE(textOf(port.receive()), QString("0\r\n"));
    }
}

void SimPtyTest::deviceLink_data() {
    QTest::addColumn<QString>("existing");
    QTest::newRow("new link") << "";
    QTest::newRow("old link replaced") << "link";
    QTest::newRow("file kept") << "file";
}

void SimPtyTest::deviceLink() {
    QFETCH(QString, existing);
    QTemporaryDir folder;
    const QString linkPath = folder.filePath("sdi12");
    if (existing == "link")
        QVERIFY(QFile::link("/dev/null", linkPath));
    if (existing == "file")
        QVERIFY(QFile(linkPath).open(QIODevice::WriteOnly));

    Sim sim({"--link", linkPath, "--quiet"});
    if (existing == "file") {
        sim.process.waitForFinished(5000);
        QCOMPARE(sim.process.state(), QProcess::NotRunning);
        QCOMPARE(sim.process.exitCode(), 1);
        QVERIFY(!QFileInfo(linkPath).isSymLink());
        return;
    }
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), sim.devicePath);
    sim.process.terminate();
    QVERIFY(sim.process.waitForFinished(5000));
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(linkPath) && !QFileInfo(linkPath).isSymLink());
}

QTEST_GUILESS_MAIN(SimPtyTest)
#include "SimPtyTest.moc"
