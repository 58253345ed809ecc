#include "measure/MeasurementTable.h"
#include "measure/ui/MeasureTab.h"
#include "sensors/SensorBus.h"
#include "sensors/ui/SensorsTab.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

// The simulated bus of sensors 0 and 3.
const QStringList TwoSensors{QStringLiteral("--address"), QStringLiteral("03")};

struct Program : WindowOnDevice {
    using WindowOnDevice::WindowOnDevice;
    SensorsTab& sensors() { return *Window->Sensors; }
    MeasureTab& measure() { return *Window->Measure; }

    // Presses Scan and waits for the scan's end.
    bool scan() {
        QTest::mouseClick(sensors().cmdScan, Qt::LeftButton);
        return QTest::qWaitFor([this] { return !sensors().Bus().isBusy(); }, 20000);
    }
    bool pick(QChar address) {
        const int row = sensors().Survey().rowOf(address);
        if (row < 0)
            return false;
        sensors().grdSensors->setCurrentIndex(sensors().grdSensors->model()->index(row, 0));
        return true;
    }
    bool waitForTheBus() {
        return QTest::qWaitFor([this] { return !sensors().Bus().isBusy(); }, 20000);
    }
    QString report() { return sensors().lblSensorsReport->text(); }
    // Presses Measure and waits for its row.
    bool measureOnce() {
        const int rows = measure().Table().rowCount();
        QTest::mouseClick(measure().cmdMeasure, Qt::LeftButton);
        return QTest::qWaitFor([this, rows] { return measure().Table().rowCount() > rows; }, 20000);
    }
};

QStringList received(const SimulatorProcess& sim) {
    return sim.Lines().filter(QRegularExpression(QStringLiteral("^rx ")));
}

} // namespace

// The Sensors tab in the real program against the simulated bus.
class TestSensorsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void scanFindsEverySensorWithItsIdentification() {
        SimulatorProcess sim(TwoSensors);
        QVERIFY(sim.Started());
        TempFolders folders;
        Program program(folders, sim.DevicePath());
        QVERIFY(program.scan());
        const QList<ScanFinding>& found = program.sensors().Survey().sensors();
        QCOMPARE(found.size(), 2);
        QCOMPARE(found.at(0).Address, QChar('0'));
        QCOMPARE(found.at(0).Identity->Rest, "SIM0001");
        QCOMPARE(found.at(1).Address, QChar('3'));
        QCOMPARE(found.at(1).Identity->Model, "PRBSIM");
        QCOMPARE(found.at(1).Identity->Rest, "SIM0002");
        QCOMPARE(program.report(), "Scan done: 2 sensors found (0, 3)");
        // Double-clicking a row makes its address the command line's.
        emit program.sensors().addressChosen('3');
        QCOMPARE(program.Window->txtNode->text(), "3");
        QCOMPARE(program.measure().txtMeasureAddress->text(), "3");
    }

    void changeGivesTheSensorItsNewAddress() {
        SimulatorProcess sim(TwoSensors);
        QVERIFY(sim.Started());
        TempFolders folders;
        Program program(folders, sim.DevicePath());
        QVERIFY(program.scan());
        program.sensors().ChangeAddress('3', '5', true); // two sensors answer "?!"
        QVERIFY(program.waitForTheBus());
        QCOMPARE(program.report(), "Changed: the sensor at 3 now answers at 5");
        QVERIFY(received(sim).contains("rx 3A5!"));
        QVERIFY(sim.Lines().contains("tx 5"));
        // A new scan finds it at 5 and nobody at 3.
        QVERIFY(program.scan());
        QCOMPARE(program.sensors().Survey().rowOf('5'), 1);
        QCOMPARE(program.sensors().Survey().rowOf('3'), -1);
        QCOMPARE(program.sensors().Survey().sensors().at(1).Identity->Rest, "SIM0002");
    }

    // Nothing goes on the line for a change the last scan does not allow.
    void changeToATakenAddressSendsNothing() {
        SimulatorProcess sim(TwoSensors);
        QVERIFY(sim.Started());
        TempFolders folders;
        Program program(folders, sim.DevicePath());
        QVERIFY(program.scan());
        const int heard = int(received(sim).size());
        program.sensors().ChangeAddress('3', '0', true);
        QCOMPARE(program.report(), "The address 0 is taken");
        QVERIFY(!program.sensors().Bus().isBusy());
        QTest::qWait(300);
        QCOMPARE(received(sim).size(), heard);
    }

    void namesAndUnitsLabelTheMeasurements() {
        SimulatorProcess sim(TwoSensors + QStringList{"--time-scale", "10"});
        QVERIFY(sim.Started());
        TempFolders folders;
        Program program(folders, sim.DevicePath());
        QVERIFY(program.scan());
        QVERIFY(program.pick('0'));
        program.sensors().cboParameterMethod->setCurrentText("M");
        QTest::mouseClick(program.sensors().cmdReadParameters, Qt::LeftButton);
        QVERIFY(program.waitForTheBus());
        QCOMPARE(program.report(), "M at 0: 3 values named");

        program.Window->txtNode->setText("0");
        program.measure().cboMethod->setCurrentText("M");
        QVERIFY(program.measureOnce());
        const QStringList titles{"Time", "TA (degC)", "PA (hPa)", "VB (V)", "Result"};
        QCOMPARE(program.measure().Table().ColumnTitles(), titles);
        const QString fileName = folders.Root() + "/labelled.csv";
        program.Pieces.Dialog.QueueFileName(fileName);
        QTest::mouseClick(program.measure().cmdSaveCsv, Qt::LeftButton);
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine(), titles.join(',').toUtf8() + "\r\n");
        // The other sensor told nothing: its values stay numbered.
        program.Window->txtNode->setText("3");
        program.measure().cmdClearMeasurements->click();
        QVERIFY(program.measureOnce());
        QCOMPARE(program.measure().Table().ColumnTitles().at(1), "Value 1");
    }

    // A line that loses three answers in ten: with the recorders' retries
    // every measurement ends well and says what it took; with one try each,
    // some fail.
    void flakyLineWithAndWithoutRetries() {
        SimulatorProcess sim({"--drop", "0.3", "--seed", "7", "--time-scale", "10"});
        QVERIFY(sim.Started());
        TempFolders folders;
        Program program(folders, sim.DevicePath());
        program.measure().cboMethod->setCurrentText("MC");
        int retried = 0;
        for (int measurement = 0; measurement < 20; ++measurement) {
            QVERIFY(program.measureOnce());
            const QString result =
                MeasurementTable::ResultOf(program.measure().Table().Records().last());
            QVERIFY2(result.startsWith("OK"), qPrintable(result));
            retried += result.contains("retr");
        }
        QVERIFY(retried > 0);

        program.sensors().chkRetries->setChecked(false);
        int failed = 0;
        for (int measurement = 0; measurement < 20; ++measurement) {
            QVERIFY(program.measureOnce());
            failed += !program.measure().Table().Records().last().Outcome.IsComplete();
        }
        QVERIFY(failed > 0);
    }
};

QTEST_MAIN(TestSensorsEndToEnd)
#include "tst_sensorsendtoend.moc"
