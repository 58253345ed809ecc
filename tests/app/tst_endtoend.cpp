#include "app/TwoPanelStatusBar.h"
#include "app/frmSDI12.h"
#include "link/LinkEngine.h"
#include "link/TranscriptModel.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/DropDownComboBox.h"
#include "platform/ui/Grid.h"
#include "platform/ui/WholeNumberBox.h"
#include "sheet/ui/Sheet.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"
#include "timer/CTimer.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

// Whole flows: the real window and serial component talking to the
// simulated sensor over a pseudo-terminal.
class TestEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void sheetRowAnswerIsMarkedShownAndLogged();
    void typedCommandAndHistoryAcrossRestart();
    void wakeUpCharactersReachTheSensor();
    void writeAllSetsTheSensorToTheSheet();
    void measurementWithCrc_data();
    void measurementWithCrc();
    void identifyNeverBreaksARepeatedMeasurement();
    void lostPortComesBackAndTheRepeatGoesOn();
};

namespace {

// One run of the program against the simulator, with what the tests read.
struct Program : WindowOnDevice {
    using WindowOnDevice::WindowOnDevice;
    QString Panel(int panel) const { return Window->StatusBar->PanelText(panel); }
    Sheet& ConfigurationSheet() { return Window->ConfigurationSheet(); }
    Grid& fg() { return *Window->fg; }
};

QString logText(const Program& program) {
    QFile log(program.Window->LogFilePath());
    return log.open(QIODevice::ReadOnly) ? QString::fromLatin1(log.readAll()) : QString();
}

int rowOfSection(Grid& grid, const QString& section) {
    for (int row = 1; row < grid.RowCount(); ++row) {
        if (grid.CellData(row, 2) == section)
            return row;
    }
    return -1;
}

} // namespace

// The simulator pauses 30 ms inside every answer, as a busy machine or a USB
// adaptor may: each answer still completes once, at its line end.
const QStringList PausingInsideAnswers = {QStringLiteral("--pause-at"), QStringLiteral("3"),
                                          QStringLiteral("--pause"), QStringLiteral("30")};

void TestEndToEnd::sheetRowAnswerIsMarkedShownAndLogged() {
    SimulatorProcess sim(PausingInsideAnswers);
    QVERIFY(sim.Started());
    TempFolders folders;
    Program program(folders, sim.DevicePath());
    QVERIFY2(program.Serial.IsOpen(), qPrintable(program.Serial.StatusText()));

    program.ConfigurationSheet().LoadCommandsFile(QStringLiteral(PROBETERM_SAMPLE_FILE));
    const int row = rowOfSection(program.fg(), QStringLiteral("XIV"));
    QVERIFY(row > 0);
    bool cancel = false;
    program.ConfigurationSheet().fg_BeforeEdit(row, 8, cancel);
    QVERIFY(sim.WaitForLine(QStringLiteral("rx 0XIV!")));
    QTRY_COMPARE(program.fg().CellText(row, 9), QStringLiteral("OK"));
    QVERIFY(program.Panel(2).startsWith(QStringLiteral("0KV")));
    QVERIFY(program.Panel(2).endsWith(QStringLiteral("\r\n")));
    // The READ row reads back the answer, less the address and line end.
    QCOMPARE(program.fg().CellText(row, 3), program.Panel(2).mid(1).chopped(2));
    QVERIFY(program.Window->lblRoundTrip->text().startsWith(QStringLiteral("Roundtrip delay = ")));
    QCOMPARE(program.Window->Transcript().rowCount(), 2);
    QVERIFY(program.Window->Transcript().Item(0).contains(QStringLiteral("<0KV")));
    QCOMPARE(logText(program).count(QStringLiteral("\r\n")), 1);
}

void TestEndToEnd::typedCommandAndHistoryAcrossRestart() {
    SimulatorProcess sim;
    QVERIFY(sim.Started());
    TempFolders folders;
    {
        Program program(folders, sim.DevicePath());
        program.Window->txtNode->setText(QStringLiteral("0"));
        program.Window->cboCmd->setEditText(QStringLiteral("R0"));
        QTest::mouseClick(program.Window->cmdSend, Qt::LeftButton);
        QVERIFY(sim.WaitForLine(QStringLiteral("rx 0R0!")));
        QTRY_VERIFY(program.Panel(2).startsWith(QStringLiteral("0+21.")));
    }
    Program restarted(folders, sim.DevicePath());
    emit restarted.Window->cboCmd->DropDown();
    QCOMPARE(restarted.Window->cboCmd->count(), 1);
    QCOMPARE(restarted.Window->cboCmd->itemText(0), QStringLiteral("R0"));
}

void TestEndToEnd::wakeUpCharactersReachTheSensor() {
    SimulatorProcess sim({QStringLiteral("--wakeup"), QStringLiteral("3")});
    QVERIFY(sim.Started());
    TempFolders folders;
    Program program(folders, sim.DevicePath());
    program.Window->txtWakeUp->setText(QStringLiteral("3"));
    QTest::mouseClick(program.Window->cmdID, Qt::LeftButton);
    QVERIFY(sim.WaitForLine(QStringLiteral("wake 3")));
    QTRY_VERIFY(program.Panel(2).startsWith(QStringLiteral("013")));
    QCOMPARE(program.Panel(1), QString());
}

void TestEndToEnd::writeAllSetsTheSensorToTheSheet() {
    SimulatorProcess sim(PausingInsideAnswers);
    QVERIFY(sim.Started());
    TempFolders folders;
    Program program(folders, sim.DevicePath());
    Grid& grid = program.fg();
    program.ConfigurationSheet().LoadCommandsFile(QStringLiteral(PROBETERM_SAMPLE_FILE));
    QVERIFY(grid.RowCount() > 5);

    // The batch paces rows 3 s apart; a shorter pace keeps the test quick.
    // A tick that comes while its row's answer is still arriving waits.
    program.Window->tmrBatch->setInterval(300);
    QTest::mouseClick(program.Window->cmdWrite, Qt::LeftButton);
    QCOMPARE(program.Window->cmdWrite->text(), QStringLiteral("Stop Write"));
    QTRY_COMPARE_WITH_TIMEOUT(program.Window->cmdWrite->text(), QStringLiteral("Write all"), 60000);

    QStringList expectedCommands;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const QString section = grid.CellData(row, 2);
        if (grid.CellText(row, 1) != QLatin1String("WRITE")) {
            QCOMPARE(grid.CellText(row, 9), QString());
            continue;
        }
        QCOMPARE(grid.CellText(row, 9), QStringLiteral("OK"));
        expectedCommands << QStringLiteral("rx 0%1!").arg(grid.CellText(row, 2));
        // The simulator now holds the sheet's value for this setting.
        const QString value = grid.CellText(row, 2).mid(section.size());
        QVERIFY(sim.WaitForLine(QStringLiteral("set %1 %2").arg(section, value)));
    }
    // Every WRITE row went out once, in order, and each answer is one log line.
    QStringList received = sim.Lines().filter(QRegularExpression(QStringLiteral("^rx ")));
    QCOMPARE(received, expectedCommands);
    QCOMPARE(logText(program).count(QStringLiteral("\r\n")), expectedCommands.size());
}

void TestEndToEnd::measurementWithCrc_data() {
    QTest::addColumn<QStringList>("simulatorArguments");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("dataRequests");
    QTest::newRow("checked") << PausingInsideAnswers << "OK" << 3 << 1;
    // Asked again three times, as recorders do, before it fails.
    QTest::newRow("corrupted") << QStringList{QStringLiteral("--bad-crc")}
                               << "0D0!: CRC mismatch in the answer" << 0 << 4;
}

// One press: the start command, the service request, D0 with its CRC. Every
// exchange is in the transcript and the log as any other.
void TestEndToEnd::measurementWithCrc() {
    QFETCH(QStringList, simulatorArguments);
    QFETCH(QString, result);
    QFETCH(int, values);
    QFETCH(int, dataRequests);
    SimulatorProcess sim(simulatorArguments);
    QVERIFY(sim.Started());
    TempFolders folders;
    Program program(folders, sim.DevicePath());
    MeasureTab& measure = *program.Window->Measure;
    measure.cboMethod->setCurrentText(QStringLiteral("MC"));
    QTest::mouseClick(measure.cmdMeasure, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(measure.Table().rowCount(), 1, 20000);

    const MeasurementRecord& record = measure.Table().Records().first();
    QVERIFY2(MeasurementTable::ResultOf(record).startsWith(result),
             qPrintable(MeasurementTable::ResultOf(record)));
    QCOMPARE(record.Outcome.Values.size(), values);
    QCOMPARE(sim.Lines().filter(QRegularExpression(QStringLiteral("^rx "))),
             QStringList({"rx 0MC!"}) + QStringList(dataRequests, QStringLiteral("rx 0D0!")));
    // The promise, the service request and the data: an answer each.
    QCOMPARE(logText(program).count(QStringLiteral("\r\n")), 2 + dataRequests);
    const QString transcript = QString::fromUtf8(program.Window->Transcript().ItemsText());
    QVERIFY2(transcript.contains(QStringLiteral("<0+21.")), qPrintable(transcript));
}

// Identify pressed at random moments of a measurement repeated every second:
// within a measurement it is refused, between two it goes, and the next
// measurement waits for its answer. No measurement fails for it.
void TestEndToEnd::identifyNeverBreaksARepeatedMeasurement() {
    SimulatorProcess sim({QStringLiteral("--quiet")});
    QVERIFY(sim.Started());
    TempFolders folders;
    Program program(folders, sim.DevicePath());
    MeasureTab& measure = *program.Window->Measure;
    measure.cboMethod->setCurrentText(QStringLiteral("R0"));
    measure.txtMeasureRepeat->setValue(1);
    int identified = 0;
    QObject::connect(&program.Window->Link(), &LinkEngine::exchangeEnded,
                     [&](ExchangeId, ExchangeOutcome outcome, const QByteArray& answer) {
                         identified += outcome == ExchangeOutcome::Answered &&
                                       answer.startsWith("013QUENVREL");
                     });
    QTest::mouseClick(measure.cmdMeasure, Qt::LeftButton);
    QRandomGenerator random(20261207);
    for (int press = 0; press < 50; ++press) {
        QTest::qWait(int(random.bounded(700)));
        QTest::mouseClick(measure.cmdIdentify, Qt::LeftButton);
    }
    QTest::qWait(1500);
    QTest::mouseClick(measure.cmdMeasure, Qt::LeftButton); // Stop
    const QList<MeasurementRecord>& records = measure.Table().Records();
    QVERIFY(records.size() >= 10);
    for (const MeasurementRecord& record : records.mid(0, records.size() - 1))
        QVERIFY2(record.Outcome.IsComplete(), qPrintable(MeasurementTable::ResultOf(record)));
    QVERIFY(identified > 0);
    QCOMPARE(measure.txtVendor->text(), QStringLiteral("QUENVREL"));
}

// The adaptor pulled out and put back (the simulator killed and started
// again on the same path): the link says it is reopening, is open again by
// itself, and the repeat that was running goes on.
void TestEndToEnd::lostPortComesBackAndTheRepeatGoesOn() {
    TempFolders folders;
    const QString link = folders.Root() + QLatin1String("/adaptor");
    const QStringList arguments{QStringLiteral("--link"), link};
    std::optional<SimulatorProcess> sim(std::in_place, arguments);
    QVERIFY(sim->Started());
    Program program(folders, link);
    program.Window->txtRepeatCmd->setText(QStringLiteral("99"));
    program.Window->txtRepeatDelay->setText(QStringLiteral("200"));
    QTest::mouseClick(program.Window->cmdID, Qt::LeftButton);
    QVERIFY(sim->WaitForLine(QStringLiteral("rx 0I!")));

    sim->Kill();
    QTRY_COMPARE(program.Window->StatusBar->LinkStateText(),
                 QStringLiteral("lost \u2014 reopening"));
    sim.emplace(arguments);
    QVERIFY(sim->Started());
    QTRY_VERIFY_WITH_TIMEOUT(program.Window->StatusBar->LinkStateText().startsWith("\u25CF"), 5000);
    QVERIFY(sim->WaitForLine(QStringLiteral("rx 0I!"), 5000));
    QVERIFY(program.Window->tmrRepeatCmd->Enabled());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
