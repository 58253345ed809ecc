// The break's two waits as the serial component sees them, and the pace of
// a repetition: the window on the real clock, over a serial component that
// stamps each request.
#include "BenchFigures.h"
#include "app/frmSDI12.h"
#include "link/ui/SensorLink.h"
#include "platform/Clock.h"
#include "support/FakeSerialPort.h"
#include "support/TestPlatform.h"
#include "timer/CTimer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

namespace {

class StampingSerialPort : public FakeSerialPort {
public:
    void setBreakState(bool on) override {
        Stamp(on ? BreakOn : BreakOff);
        FakeSerialPort::setBreakState(on);
    }
    void Transmit(const QByteArray& bytes) override {
        Stamp(Sent);
        FakeSerialPort::Transmit(bytes);
    }

    enum Kind { BreakOn, BreakOff, Sent };
    struct Event {
        Kind What;
        double AtMs;
    };
    QVector<Event> Events;

private:
    void Stamp(Kind kind) { Events.append({kind, m_clock.nsecsElapsed() / 1e6}); }
    QElapsedTimer m_clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    StampingSerialPort serial;
    serial.setPortNamesForTest({QStringLiteral("COM1")});
    SystemClock clock;
    TestPlatform pieces;
    frmSDI12 window(pieces.With(serial, clock));
    window.tmrRcv->setEnabled(false);

    // 1. The break: 100 commands, each preceded by a break and marking.
    serial.Events.clear();
    for (int i = 0; i < 100; ++i)
        window.Link().SendCommand(QStringLiteral("0M!"));
    QVector<double> held, marking;
    for (int i = 0; i + 2 < serial.Events.size(); ++i) {
        const auto& events = serial.Events;
        if (events[i].What == StampingSerialPort::BreakOn &&
            events[i + 1].What == StampingSerialPort::BreakOff &&
            events[i + 2].What == StampingSerialPort::Sent) {
            held << events[i + 1].AtMs - events[i].AtMs;
            marking << events[i + 2].AtMs - events[i + 1].AtMs;
        }
    }
    printFigures("break_held", held);
    printFigures("break_marking", marking);

    // 2. A repetition of 99 repeats at 50 ms, each with its break: the period
    //    between transmissions should be the delay plus the 70 ms wake-up.
    serial.Events.clear();
    window.txtRepeatCmd->setText(QStringLiteral("99"));
    window.txtRepeatDelay->setText(QStringLiteral("50"));
    window.cmdSend->click();
    while (window.tmrRepeatCmd->Enabled())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QVector<double> periods;
    double previous = -1;
    for (const auto& event : serial.Events) {
        if (event.What != StampingSerialPort::Sent)
            continue;
        if (previous >= 0)
            periods << event.AtMs - previous;
        previous = event.AtMs;
    }
    std::printf("repeat_expected_period: 120.00 ms (50 ms delay + 70 ms break)\n");
    printFigures("repeat_period", periods);
    return 0;
}
