#pragma once

#include "link/LinkEngine.h"
#include "link/LogFile.h"
#include "link/StatusReports.h"
#include "link/TrafficLog.h"
#include "link/TranscriptModel.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/TempFolders.h"
#include "timer/CTimer.h"

#include <QSignalSpy>

// The link engine over a fake port and a fake clock, with a log in a
// temporary folder, open on COM1 at 1200,E,7,1. The reception tick never
// fires on its own: the test ticks, letting 10 ms pass each time; the
// reopen timer is left to the test too. Panel 1
// is kept as the window keeps it, from the engine's reports.
struct EngineOnFakes {
    FakeSerialPort Serial;
    FakeClock Clock;
    TempFolders Folders;
    TranscriptModel Transcript;
    LogFile Log;
    TrafficLog Traffic{Transcript, Log, Clock};
    LinkEngine Link{Serial, Clock, Traffic};
    StatusReports Reports;
    QSignalSpy Ended{&Link, &ExchangeLink::exchangeEnded};
    QSignalSpy Transmitted{&Link, &ExchangeLink::commandTransmitted};

    EngineOnFakes() {
        Log.Open(Folders.Root() + QStringLiteral("/ProbeTerm.log"), nullptr);
        QObject::connect(&Link, &ExchangeLink::reported, &Link,
                         [this](const LinkReport& report) { Reports.add(report); });
        QObject::connect(&Link, &ExchangeLink::commandTransmitted, &Link,
                         [this] { Reports.commandTransmitted(); });
        Serial.setPortNamesForTest({QStringLiteral("COM1")});
        Link.setPortName(QStringLiteral("COM1"));
        Serial.setLineSettings(QStringLiteral("1200,E,7,1"));
        Link.choosePort(QStringLiteral("COM1"));
        Link.receiveTimer().setInterval(0);
    }

    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            Clock.Advance(10);
            Link.tmrRcv_Timer();
        }
    }
    // The sensor answers; the answer completes at the next quiet tick.
    void Answer(const QByteArray& answer) {
        Serial.Receive(answer);
        Tick();
    }
    // Lets the time-out of a command pass with nothing said.
    void Silence() { Tick(12); }

    // The outcome of the index-th exchange that ended.
    ExchangeOutcome OutcomeAt(int index) const {
        return Ended.at(index).at(1).value<ExchangeOutcome>();
    }
    ExchangeId ExchangeAt(int index) const { return Ended.at(index).at(0).value<ExchangeId>(); }
    QString Panel1() const { return Reports.text(); }
};
