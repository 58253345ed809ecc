#include "app/frmSDI12.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/WholeNumberBox.h"
#include "recording/ui/RecordingPanel.h"
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

#include <optional>

// Recording through the window against the simulated bus.
class TestRecording : public QObject {
    Q_OBJECT
private slots:
    // Three sensors found and ticked on the Sensors tab, their names and
    // units read, then recorded with CC every 2 s for 20 s: one row per
    // sensor per cycle, all "OK", under columns named by the sensors.
    void threeSensorsConcurrently() {
        SimulatorProcess sim({QStringLiteral("--quiet"), QStringLiteral("--address"),
                              QStringLiteral("035"), QStringLiteral("--time-scale"),
                              QStringLiteral("20")});
        QVERIFY(sim.Started());
        TempFolders folders;
        WindowOnDevice program(folders, sim.DevicePath());
        MeasureTab& measure = *program.Window->Measure;
        RecordingPanel& recording = *program.Window->Recording;
        SensorsTab& sensors = *program.Window->Sensors;
        const auto busDone = [&sensors] {
            return QTest::qWaitFor([&sensors] { return !sensors.Bus().isBusy(); }, 20000);
        };
        QTest::mouseClick(sensors.cmdScan, Qt::LeftButton);
        QVERIFY(busDone());
        QAbstractItemModel& found = *sensors.grdSensors->model();
        QCOMPARE(found.rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            found.setData(found.index(row, 0), Qt::Checked, Qt::CheckStateRole);
            sensors.Bus().readMetadata(QLatin1Char("035"[row]),
                                       *MeasurementMethod::FromName(QStringLiteral("CC")));
            QVERIFY(busDone());
        }
        QTest::mouseClick(sensors.cmdMeasureTicked, Qt::LeftButton);
        QCOMPARE(measure.txtMeasureAddress->text(), QStringLiteral("0,3,5"));
        measure.cboMethod->setCurrentText(QStringLiteral("CC"));
        measure.txtMeasureRepeat->setValue(2);
        const QString file = folders.Root() + QStringLiteral("/bus.csv");
        program.Pieces.Dialog.QueueFileName(file);
        QTest::mouseClick(recording.cmdRecordTo, Qt::LeftButton);
        QVERIFY(measure.Runner().isRunning());
        QVERIFY2(recording.lblRecording->text().startsWith("Recording to " + file),
                 qPrintable(recording.lblRecording->text()));

        // Six cycles of three sensors; each takes about 2.5 s, more on a busy machine.
        QVERIFY(QTest::qWaitFor([&] { return recording.Recorder().rows() >= 18; }, 60000));
        QTest::mouseClick(recording.cmdStopRecording, Qt::LeftButton);
        QTest::mouseClick(measure.cmdMeasure, Qt::LeftButton); // Stop
        const QString ended = recording.lblRecording->text();
        QVERIFY2(ended.startsWith("Recorded ") && ended.contains("overran their period"),
                 qPrintable(ended));

        QFile csv(file);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines.takeLast(), QByteArray()); // after the last line end
        QCOMPARE(lines.takeFirst(),
                 QByteArray("Time,Address,Method,TA (degC),PA (hPa),VB (V),Result\r"));
        // A cycle of three sensors takes about 2.5 s at 1200 baud: each
        // overruns its 2 s and the next starts at once.
        QVERIFY2(lines.size() >= 18 && lines.size() % 3 == 0,
                 qPrintable(QString::number(lines.size())));
        for (int row = 0; row < lines.size(); ++row) {
            const QList<QByteArray> fields = lines.at(row).chopped(1).split(',');
            QCOMPARE(fields.value(1), QByteArray(1, "035"[row % 3]));
            QCOMPARE(fields.value(2), QByteArray("CC"));
            QCOMPARE(fields.last(), QByteArray("OK"));
            QVERIFY(fields.first().endsWith('Z'));
        }
    }

    // The adaptor pulled out and put back while recording (the simulator
    // killed and started again on the same path): the gap is in the file as
    // rows that say what happened, and sound rows follow once it is back.
    void pulledAdaptorLeavesHonestRowsAndRecordingGoesOn() {
        TempFolders folders;
        const QString adaptor = folders.Root() + QStringLiteral("/adaptor");
        const QStringList arguments{QStringLiteral("--quiet"), QStringLiteral("--link"), adaptor,
                                    QStringLiteral("--time-scale"), QStringLiteral("20")};
        std::optional<SimulatorProcess> sim(std::in_place, arguments);
        QVERIFY(sim->Started());
        WindowOnDevice program(folders, adaptor);
        MeasureTab& measure = *program.Window->Measure;
        RecordingPanel& recording = *program.Window->Recording;
        measure.txtMeasureRepeat->setValue(1);
        const QString file = folders.Root() + QStringLiteral("/pulled.csv");
        program.Pieces.Dialog.QueueFileName(file);
        QTest::mouseClick(recording.cmdRecordTo, Qt::LeftButton);
        const auto results = [&file] {
            QFile csv(file);
            QList<QByteArray> found;
            if (!csv.open(QIODevice::ReadOnly))
                return found;
            const QList<QByteArray> lines = csv.readAll().split('\n');
            for (const QByteArray& line : lines.mid(1, lines.size() - 2))
                found.append(line.chopped(1).split(',').last());
            return found;
        };
        const auto rowsEndWith = [&](bool sound) {
            return QTest::qWaitFor(
                [&] {
                    const QList<QByteArray> found = results();
                    return !found.isEmpty() && (found.last() == "OK") == sound;
                },
                20000);
        };
        QVERIFY(rowsEndWith(true));

        sim->Kill();
        QVERIFY(rowsEndWith(false));
        sim.emplace(arguments);
        QVERIFY(sim->Started());
        QVERIFY(rowsEndWith(true));
        QTest::mouseClick(recording.cmdStopRecording, Qt::LeftButton);
        QTest::mouseClick(measure.cmdMeasure, Qt::LeftButton); // Stop

        // OK rows, then the gap's rows, each naming its fault, then OK rows.
        const QList<QByteArray> found = results();
        QVERIFY2(found.first() == "OK" && found.last() == "OK",
                 qPrintable(QString::fromLatin1(found.join('|'))));
        int changes = 0;
        for (qsizetype row = 1; row < found.size(); ++row) {
            if ((found.at(row) == "OK") != (found.at(row - 1) == "OK"))
                ++changes;
            QVERIFY(!found.at(row).isEmpty());
        }
        QCOMPARE(changes, 2);
    }

    // A file with other columns is not appended to: the dialog asks again.
    void fileWithOtherColumnsAsksForAnother() {
        SimulatorProcess sim({QStringLiteral("--quiet")});
        QVERIFY(sim.Started());
        TempFolders folders;
        WindowOnDevice program(folders, sim.DevicePath());
        RecordingPanel& recording = *program.Window->Recording;
        const QString other = folders.Root() + QStringLiteral("/other.csv");
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("Date,Level\r\n") > 0);
        file.close();
        program.Pieces.Dialog.QueueFileName(other);
        program.Pieces.Dialog.QueueCancel();
        QTest::mouseClick(recording.cmdRecordTo, Qt::LeftButton);
        QCOMPARE(program.Pieces.Dialog.Calls.size(), 2);
        QVERIFY(program.Pieces.Dialog.Calls.at(1).Request.Title.contains("has other columns"));
        QVERIFY(!recording.Recorder().isRecording());
        QVERIFY(!program.Window->Measure->Runner().isRunning());
    }
};

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
