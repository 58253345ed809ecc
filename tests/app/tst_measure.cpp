#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "commands/ui/CommandLine.h"
#include "measure/Crc16.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "platform/serial/SerialTerminalView.h"
#include "platform/ui/DropDownComboBox.h"
#include "platform/ui/WholeNumberBox.h"
#include "sensors/ui/SensorsTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The Measure tab in the real window, over the fake port and clock: the
// whole sequence, its hold on the line, identification from any sender, and
// the CSV file.
class TestMeasure : public QObject {
    Q_OBJECT
private slots:
    void measurementWithCrcFillsTheTable();
    void otherSendersAreRefusedWhileMeasuring_data();
    void otherSendersAreRefusedWhileMeasuring();
    void commandRepeatWaitsForTheMeasurement();
    void stopEndsTheMeasurementAndFreesTheLink();
    void repetitionStartsEachCycleOnItsTimer();
    void identificationBetweenCyclesDelaysTheNextOne();
    void portThatCannotSendIsNamedInTheRow_data();
    void portThatCannotSendIsNamedInTheRow();
    void identificationFromAnySender_data();
    void identificationFromAnySender();
    void undecodedIdentificationIsRemarkedOnTheTab();
    void addressKeptInStepWithTheAddressBox();
    void choicesKeptForTheNextRun();
    void csvReadsBackAsTheTable();
    void csvFailureIsReported();
};

namespace {

// The sensor's answer: its bytes arrive, then a quiet tick completes them.
void answer(WindowHarness& harness, const QByteArray& line) {
    harness.Serial.Receive(line + "\r\n");
    harness.Tick();
}

QByteArray withCrc(const QByteArray& line) {
    return line + Sdi12Crc::Encode(Sdi12Crc::Compute(line));
}

MeasureTab& tab(WindowHarness& harness) {
    return *harness.Window->Measure;
}

QString measureReport(WindowHarness& harness) {
    return tab(harness).lblMeasureReport->text();
}

// Turns the recorders' retries off, so that a wrong answer fails its row at
// once, as the terminal's own sends do.
void oneTryEach(WindowHarness& harness) {
    harness.Window->Sensors->chkRetries->setChecked(false);
}

// Presses Measure with the method picked and checks the start command went.
void startMeasuring(WindowHarness& harness, const QString& method, int repeatSeconds = 0) {
    tab(harness).cboMethod->setCurrentText(method);
    tab(harness).txtMeasureRepeat->setValue(repeatSeconds);
    harness.Serial.ClearSent();
    QTest::mouseClick(tab(harness).cmdMeasure, Qt::LeftButton);
}

// What the operator does to send "0I!" (or, for "typing", a key) from
// elsewhere than the Measure tab's sequence.
void useSender(WindowHarness& harness, const QString& sender) {
    frmSDI12& window = *harness.Window;
    if (sender == QLatin1String("command line")) {
        window.cboCmd->setEditText(QStringLiteral("I"));
        window.Commands().cmdSend_Click();
    } else if (sender == QLatin1String("quick button")) {
        QTest::mouseClick(window.cmdID, Qt::LeftButton);
    } else if (sender == QLatin1String("typing")) {
        QTest::keyClick(window.SaxView, Qt::Key_A);
    } else {
        QTest::mouseClick(tab(harness).cmdIdentify, Qt::LeftButton);
    }
}

void addSenders(const QStringList& senders) {
    QTest::addColumn<QString>("sender");
    for (const QString& sender : senders)
        QTest::newRow(qPrintable(sender)) << sender;
}

QString cell(const MeasurementTable& table, int row, int column) {
    return table.data(table.index(row, column)).toString();
}

} // namespace

void TestMeasure::measurementWithCrcFillsTheTable() {
    WindowHarness harness;
    QCOMPARE(harness.Window->SSTab->tabText(4), QStringLiteral("Measure"));
    startMeasuring(harness, QStringLiteral("MC"));
    QCOMPARE(harness.Serial.Sent(), QByteArray("0MC!"));
    QCOMPARE(tab(harness).cmdMeasure->text(), QStringLiteral("Stop"));

    answer(harness, "00023");
    QVERIFY(tab(harness).Runner().waitTimer().Enabled());
    QCOMPARE(tab(harness).Runner().waitTimer().Interval(), 2000);
    harness.Serial.ClearSent();
    answer(harness, "0"); // the service request ends the wait
    QCOMPARE(harness.Serial.Sent(), QByteArray("0D0!"));
    harness.Serial.ClearSent();
    answer(harness, withCrc("0+21.37-0.12"));
    // D0 gave two of three values: D1 follows.
    QCOMPARE(harness.Serial.Sent(), QByteArray("0D1!"));
    answer(harness, withCrc("0+7.91"));
    // Timed from D1's own send: the break's 70 ms and one tick.
    QCOMPARE(harness.Window->lblRoundTrip->text(), QStringLiteral("Roundtrip delay = 80 mS"));

    const MeasurementTable& table = tab(harness).Table();
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.ColumnTitles(),
             QStringList({"Time", "Value 1", "Value 2", "Value 3", "Result"}));
    QCOMPARE(cell(table, 0, 0), QStringLiteral("2026-01-31 14:05:09"));
    QCOMPARE(QStringList({cell(table, 0, 1), cell(table, 0, 2), cell(table, 0, 3)}),
             QStringList({"+21.37", "-0.12", "+7.91"}));
    QCOMPARE(cell(table, 0, 4), QStringLiteral("OK"));
    QCOMPARE(tab(harness).cmdMeasure->text(), QStringLiteral("Measure"));
    QVERIFY(!harness.Window->Link().lineBusy());
}

void TestMeasure::otherSendersAreRefusedWhileMeasuring_data() {
    addSenders({"command line", "quick button", "typing", "Measure tab"});
}

void TestMeasure::otherSendersAreRefusedWhileMeasuring() {
    QFETCH(QString, sender);
    WindowHarness harness;
    startMeasuring(harness, QStringLiteral("M"));
    answer(harness, "00101");
    harness.Serial.ClearSent();
    useSender(harness, sender);
    QCOMPARE(harness.Serial.Sent(), QByteArray());
    QVERIFY2(harness.Panel(1).startsWith(QStringLiteral("Not sent: a measurement is running")),
             qPrintable(harness.Panel(1)));
    // The measurement goes on undisturbed.
    tab(harness).Runner().waitTimer().RaiseTimer();
    QCOMPARE(harness.Serial.Sent(), QByteArray("0D0!"));
}

void TestMeasure::commandRepeatWaitsForTheMeasurement() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    window.txtRepeatCmd->setText(QStringLiteral("3"));
    window.cboCmd->setEditText(QStringLiteral("R0"));
    window.Commands().cmdSend_Click();
    answer(harness, "0+1");
    QVERIFY(window.tmrRepeatCmd->Enabled());

    startMeasuring(harness, QStringLiteral("M"));
    window.tmrRepeatCmd->RaiseTimer();
    QCOMPARE(harness.Serial.Sent(), QByteArray("0M!"));
    QCOMPARE(window.txtRepeatCmd->text(), QStringLiteral("3")); // no send, no count

    answer(harness, "00001");
    answer(harness, "0+2");
    // The waiting repeat goes once the measurement is over: the operator's
    // command again, not the measurement's last.
    QCOMPARE(harness.Serial.Sent(), QByteArray("0M!0D0!0R0!"));
    QCOMPARE(window.txtRepeatCmd->text(), QStringLiteral("2"));
}

void TestMeasure::stopEndsTheMeasurementAndFreesTheLink() {
    WindowHarness harness;
    startMeasuring(harness, QStringLiteral("C"), 5);
    answer(harness, "000203");
    QTest::mouseClick(tab(harness).cmdMeasure, Qt::LeftButton);

    const MeasurementTable& table = tab(harness).Table();
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(cell(table, 0, 1), QStringLiteral("Stopped"));
    QCOMPARE(measureReport(harness), QStringLiteral("Stopped"));
    QCOMPARE(tab(harness).cmdMeasure->text(), QStringLiteral("Measure"));
    QVERIFY(!tab(harness).Runner().cycleTimer().Enabled());
    QVERIFY(!tab(harness).Runner().waitTimer().Enabled());
    harness.Serial.ClearSent();
    QVERIFY(harness.Window->Link().sendCommand(QStringLiteral("0I!")).IsSent());
    QCOMPARE(harness.Serial.Sent(), QByteArray("0I!"));
}

void TestMeasure::repetitionStartsEachCycleOnItsTimer() {
    WindowHarness harness;
    oneTryEach(harness);
    const qint64 started = harness.Clock.TickMs();
    startMeasuring(harness, QStringLiteral("R0"), 5);
    harness.Clock.Advance(60);
    answer(harness, "0+1.5");
    MeasurementRunner& runner = tab(harness).Runner();
    // Five seconds from the start of the one before, less the time it took.
    QVERIFY(runner.cycleTimer().Enabled());
    QCOMPARE(runner.cycleTimer().Interval(), 5000 - (harness.Clock.TickMs() - started));
    QCOMPARE(tab(harness).cmdMeasure->text(), QStringLiteral("Stop"));
    QVERIFY(!harness.Window->Link().lineBusy()); // free between measurements

    harness.Serial.ClearSent();
    runner.cycleTimer().RaiseTimer();
    QCOMPARE(harness.Serial.Sent(), QByteArray("0R0!"));
    answer(harness, "0-2");
    // A failed cycle is named and the repetition goes on.
    runner.cycleTimer().RaiseTimer();
    answer(harness, "1+3");
    const MeasurementTable& table = tab(harness).Table();
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(cell(table, 1, 1), QStringLiteral("-2"));
    QVERIFY2(cell(table, 2, 2).contains(QStringLiteral("address 1, not 0")),
             qPrintable(cell(table, 2, 2)));
    QVERIFY(runner.isRunning());
}

// Pressed between two cycles, the identification goes at once, and the
// next cycle waits for its answer instead of cutting into it.
void TestMeasure::identificationBetweenCyclesDelaysTheNextOne() {
    WindowHarness harness;
    startMeasuring(harness, QStringLiteral("R0"), 2);
    answer(harness, "0+1.5");
    QTest::mouseClick(harness.Window->cmdID, Qt::LeftButton);
    harness.Serial.Receive("013QUENVREL");
    tab(harness).Runner().cycleTimer().RaiseTimer();
    QCOMPARE(harness.Serial.Sent(), QByteArray("0R0!0I!"));
    answer(harness, "PRBSIM100SIM0001");
    QCOMPARE(harness.Serial.Sent(), QByteArray("0R0!0I!0R0!"));
    answer(harness, "0+1.6");
    const MeasurementTable& table = tab(harness).Table();
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(cell(table, 1, 1), QStringLiteral("+1.6"));
    QCOMPARE(tab(harness).txtVendor->text(), QStringLiteral("QUENVREL"));
}

void TestMeasure::portThatCannotSendIsNamedInTheRow_data() {
    QTest::addColumn<bool>("lost");
    QTest::addColumn<QString>("result");
    QTest::newRow("closed") << false << "0M! could not be sent: No such port: /dev/ttyUSB0";
    QTest::newRow("device gone") << true
                                 << "0M! could not be sent: /dev/ttyUSB0 is gone until it is back";
}

void TestMeasure::portThatCannotSendIsNamedInTheRow() {
    QFETCH(bool, lost);
    WindowHarness harness;
    harness.Serial.setOpenFails(true);
    if (lost)
        harness.Serial.LoseDevice();
    else
        harness.Serial.setIsOpen(false);
    startMeasuring(harness, QStringLiteral("M"));
    const MeasurementTable& table = tab(harness).Table();
    QCOMPARE(table.rowCount(), 1);
    QTEST(cell(table, 0, 1), "result");
    QVERIFY(measureReport(harness).startsWith(QStringLiteral("Measurement failed: 0M!")));
    QVERIFY(!harness.Window->Link().lineBusy());
}

void TestMeasure::identificationFromAnySender_data() {
    addSenders({"command line", "quick button", "Measure tab"});
}

void TestMeasure::identificationFromAnySender() {
    QFETCH(QString, sender);
    WindowHarness harness;
    useSender(harness, sender);
    QCOMPARE(harness.Serial.Sent().right(3), QByteArray("0I!"));
    answer(harness, "014QUENVRELPRBSIM100SIM0001");
    // Each is an operator's send, timed from the press.
    QCOMPARE(harness.Window->lblRoundTrip->text(), QStringLiteral("Roundtrip delay = 80 mS"));
    MeasureTab& measure = tab(harness);
    QCOMPARE((QStringList{measure.txtSdi12Version->text(), measure.txtVendor->text(),
                          measure.txtModel->text(), measure.txtSensorVersion->text(),
                          measure.txtIdentificationRest->text()}),
             QStringList({"1.4", "QUENVREL", "PRBSIM", "100", "SIM0001"}));
}

// The decoder's remark stays on the tab; status panel 1 keeps the link's
// own report.
void TestMeasure::undecodedIdentificationIsRemarkedOnTheTab() {
    WindowHarness harness;
    QTest::mouseClick(harness.Window->cmdID, Qt::LeftButton);
    harness.Serial.SignalParityError();
    answer(harness, "0?");
    QCOMPARE(harness.Panel(1), QStringLiteral("PARITY ERROR"));
    QVERIFY(
        tab(harness).lblIdentificationRemark->text().contains(QStringLiteral("not of the form")));
    QTest::mouseClick(harness.Window->cmdID, Qt::LeftButton);
    answer(harness, "014QUENVRELPRBSIM100SIM0001");
    QCOMPARE(tab(harness).lblIdentificationRemark->text(), QString());
}

void TestMeasure::addressKeptInStepWithTheAddressBox() {
    WindowHarness harness;
    QLineEdit& measureAddress = *tab(harness).txtMeasureAddress;
    QCOMPARE(measureAddress.text(), QStringLiteral("0"));
    harness.Window->txtNode->setText(QStringLiteral("7"));
    QCOMPARE(measureAddress.text(), QStringLiteral("7"));
    measureAddress.selectAll();
    QTest::keyClicks(&measureAddress, QStringLiteral("b"));
    QCOMPARE(harness.Window->txtNode->text(), QStringLiteral("b"));

    harness.Serial.ClearSent();
    measureAddress.clear();
    QTest::mouseClick(tab(harness).cmdMeasure, Qt::LeftButton);
    QCOMPARE(harness.Serial.Sent(), QByteArray());
    QVERIFY(measureReport(harness).contains(QStringLiteral("address")));
}

void TestMeasure::choicesKeptForTheNextRun() {
    WindowHarness harness;
    startMeasuring(harness, QStringLiteral("CC"), 7);
    frmSDI12 nextRun(harness.Pieces.With(harness.Serial, harness.Clock));
    QCOMPARE(nextRun.Measure->cboMethod->currentText(), QStringLiteral("CC"));
    QCOMPARE(nextRun.Measure->txtMeasureRepeat->value(), 7);

    // Values the program never stores give the defaults.
    const QString application = QStringLiteral("PROBETRM"), section = QStringLiteral("Measure");
    harness.Settings.Save(application, section, QStringLiteral("Method"), QStringLiteral("X9"));
    harness.Settings.Save(application, section, QStringLiteral("Repeat"), QStringLiteral("-4"));
    frmSDI12 afterDamage(harness.Pieces.With(harness.Serial, harness.Clock));
    QCOMPARE(afterDamage.Measure->cboMethod->currentText(), QStringLiteral("M"));
    QCOMPARE(afterDamage.Measure->txtMeasureRepeat->value(), 0);
}

void TestMeasure::csvReadsBackAsTheTable() {
    WindowHarness harness;
    oneTryEach(harness);
    startMeasuring(harness, QStringLiteral("R0"));
    answer(harness, "0+21.37-.5+1013.2");
    startMeasuring(harness, QStringLiteral("R0"));
    answer(harness, "0+1,5");

    const QString fileName = harness.Pieces.Folders.Root() + QLatin1String("/run, 1.csv");
    harness.Pieces.Dialog.QueueFileName(fileName);
    QTest::mouseClick(tab(harness).cmdSaveCsv, Qt::LeftButton);
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 4); // three rows and the empty end
    QCOMPARE(lines[0], QByteArray("Time,Value 1,Value 2,Value 3,Result\r"));
    const QList<QByteArray> first = lines[1].chopped(1).split(',');
    QCOMPARE(QDateTime::fromString(QString::fromLatin1(first[0]), Qt::ISODate),
             QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9)));
    QCOMPARE(first.mid(1), QList<QByteArray>({"+21.37", "-.5", "+1013.2", "OK"}));
    QCOMPARE(first[1].toDouble() + first[2].toDouble(), 20.87); // "." whatever the locale
    // A fault holding a comma is quoted whole.
    QVERIFY2(lines[2].contains(",,,,\"0R0!: the answer 0+1,5<CR><LF> is not"),
             lines[2].constData());
    QVERIFY(measureReport(harness).contains(QStringLiteral("saved")));

    QTest::mouseClick(tab(harness).cmdClearMeasurements, Qt::LeftButton);
    QCOMPARE(tab(harness).Table().rowCount(), 0);
}

void TestMeasure::csvFailureIsReported() {
    WindowHarness harness;
    harness.Pieces.Dialog.QueueFileName(harness.Pieces.Folders.Root() +
                                        QLatin1String("/no such folder/m.csv"));
    QTest::mouseClick(tab(harness).cmdSaveCsv, Qt::LeftButton);
    QVERIFY2(measureReport(harness).startsWith(QStringLiteral("The measurements cannot be saved")),
             qPrintable(measureReport(harness)));
    // A later send does not wipe it.
    harness.Window->Link().sendCommand(QStringLiteral("0I!"));
    QVERIFY(measureReport(harness).startsWith(QStringLiteral("The measurements cannot be saved")));
}

QTEST_MAIN(TestMeasure)
#include "tst_measure.moc"
