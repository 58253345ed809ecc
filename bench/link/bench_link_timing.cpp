// The link's timing, with the window's thread free of the line:
// 1. the break and the marking after it, as the port's writer thread makes
//    them on a pseudo-terminal, while two busy loops keep both cores busy;
// 2. the window's event loop while the repeat sends every 50 ms to the
//    simulator: how late a 2 ms timer comes at worst;
// 3. how soon a port whose device went away is open again once the device
//    is back (the simulator killed and started again on the same link).
#include "BenchFigures.h"
#include "BusyLoops.h"
#include "app/frmSDI12.h"
#include "link/LinkEngine.h"
#include "platform/serial/TermiosDevice.h"
#include "platform/serial/TermiosSerialPort.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"
#include "timer/CTimer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMutex>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

// The real device, stamping the break's start and end and the first write.
class StampingDevice : public PosixTermiosDevice {
public:
    int setBreak(int fd, bool on) override {
        stamp(on ? BreakOn : BreakOff);
        return PosixTermiosDevice::setBreak(fd, on);
    }
    ssize_t writeSome(int fd, const char* bytes, size_t size) override {
        stamp(Written);
        return PosixTermiosDevice::writeSome(fd, bytes, size);
    }

    enum Kind { BreakOn, BreakOff, Written };
    struct Event {
        Kind What;
        double AtMs;
    };
    QVector<Event> events() const {
        const QMutexLocker lock(&m_mutex);
        return m_events;
    }

private:
    void stamp(Kind kind) {
        const QMutexLocker lock(&m_mutex);
        m_events.append({kind, m_clock.nsecsElapsed() / 1e6});
    }
    mutable QMutex m_mutex;
    QVector<Event> m_events;
    QElapsedTimer m_clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
};

void runEventsFor(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

int measureBreaks() {
    const int sensor = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (sensor < 0 || grantpt(sensor) != 0 || unlockpt(sensor) != 0) {
        std::printf("break: no pseudo-terminal\n");
        return 1;
    }
    auto* device = new StampingDevice;
    TermiosSerialPort port{std::unique_ptr<ITermiosDevice>(device)};
    port.setPortName(QString::fromLocal8Bit(ptsname(sensor)));
    port.setIsOpen(true);
    QSignalSpy finished(&port, &ISerialPort::WriteFinished);
    {
        const BusyLoops busy(600);
        for (int i = 0; i < 100; ++i) {
            port.Write({LinkEngine::BreakMs, LinkEngine::MarkAfterBreakMs, "0M!", quint64(i + 1)});
            while (finished.count() < i + 1)
                finished.wait(1000);
            char discard[64];
            while (read(sensor, discard, sizeof discard) > 0) {
            }
        }
    }
    QVector<double> held, marking;
    const QVector<StampingDevice::Event> events = device->events();
    for (int i = 0; i + 2 < events.size(); ++i) {
        if (events[i].What == StampingDevice::BreakOn &&
            events[i + 1].What == StampingDevice::BreakOff &&
            events[i + 2].What == StampingDevice::Written) {
            held << events[i + 1].AtMs - events[i].AtMs;
            marking << events[i + 2].AtMs - events[i + 1].AtMs;
        }
    }
    std::printf("break_target: 50 +- 1 ms held, 20 +- 1 ms marking, two busy loops running\n");
    printFigures("break_held", held);
    printFigures("break_marking", marking);
    close(sensor);
    return 0;
}

// How late a 2 ms timer fires, at worst, while the repeat runs.
int measureResponsiveness(frmSDI12& window) {
    QElapsedTimer clock;
    clock.start();
    QVector<double> lateness;
    double last = -1;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        if (last >= 0)
            lateness << std::max(0.0, now - last - 2);
        last = now;
    });
    window.txtRepeatCmd->setText(QStringLiteral("99"));
    window.txtRepeatDelay->setText(QStringLiteral("50"));
    window.cboCmd->setEditText(QStringLiteral("I"));
    probe.start();
    window.cmdSend->click();
    const QDeadlineTimer armed(5000); // once the first command is on the line
    while (!window.tmrRepeatCmd->Enabled() && !armed.hasExpired())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const QDeadlineTimer deadline(60000);
    while (window.tmrRepeatCmd->Enabled() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    probe.stop();
    std::printf("event_loop_target: worst turn within 10 ms while repeating every 50 ms\n");
    printFigures("event_loop_lateness", lateness);
    return 0;
}

// From the simulator's new start to the port open again.
int measureReopen(frmSDI12& window, SimulatorProcess& sim, const QStringList& arguments) {
    QVector<double> reopen;
    for (int round = 0; round < 5; ++round) {
        sim.Kill();
        const QDeadlineTimer lost(5000);
        while (window.Link().linkState() != LinkState::Kind::Lost && !lost.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        runEventsFor(300 * round); // the device comes back at another moment each time
        QElapsedTimer back;
        back.start();
        SimulatorProcess again(arguments);
        if (!again.Started())
            return 1;
        const double started = back.nsecsElapsed() / 1e6;
        const QDeadlineTimer deadline(5000);
        while (window.Link().linkState() != LinkState::Kind::Open && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        reopen << back.nsecsElapsed() / 1e6 - started;
        again.Kill();
        const QDeadlineTimer lostAgain(5000);
        while (window.Link().linkState() != LinkState::Kind::Lost && !lostAgain.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    std::printf("reopen_target: open again within 1.5 s of the device's return\n");
    printFigures("reopen", reopen);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PROBETERM_SIM", PROBETERM_SIM_PATH);
    QApplication app(argc, argv);
    int status = measureBreaks();

    TempFolders folders;
    const QString link = folders.Root() + QLatin1String("/sensor");
    const QStringList arguments{QStringLiteral("--quiet"), QStringLiteral("--link"), link};
    SimulatorProcess sim(arguments);
    if (!sim.Started()) {
        std::printf("link_timing: the simulator did not start\n");
        return 1;
    }
    WindowOnDevice program(folders, link);
    status |= measureResponsiveness(*program.Window);
    status |= measureReopen(*program.Window, sim, arguments);
    return status;
}
