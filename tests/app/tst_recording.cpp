#include "app/frmSDI12.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/WholeNumberBox.h"
#include "recording/ui/RecordingPanel.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// Recording through the window against the simulated bus.
class TestRecording : public QObject {
    Q_OBJECT
private slots:
    // Three sensors with CC every 2 s for 20 s: one row per sensor per
    // cycle, all "OK", in a file whose rows are on the disk as they come.
    void threeSensorsConcurrently() {
        SimulatorProcess sim({QStringLiteral("--quiet"), QStringLiteral("--address"),
                              QStringLiteral("035"), QStringLiteral("--time-scale"),
                              QStringLiteral("20")});
        QVERIFY(sim.Started());
        TempFolders folders;
        WindowOnDevice program(folders, sim.DevicePath());
        MeasureTab& measure = *program.Window->Measure;
        RecordingPanel& recording = *program.Window->Recording;
        measure.txtMeasureAddress->setText(QStringLiteral("0,3,5"));
        measure.cboMethod->setCurrentText(QStringLiteral("CC"));
        measure.txtMeasureRepeat->setValue(2);
        const QString file = folders.Root() + QStringLiteral("/bus.csv");
        program.Pieces.Dialog.QueueFileName(file);
        QTest::mouseClick(recording.cmdRecordTo, Qt::LeftButton);
        QVERIFY(measure.Runner().isRunning());
        QVERIFY2(recording.lblRecording->text().startsWith("Recording to " + file),
                 qPrintable(recording.lblRecording->text()));

        QTest::qWait(20000);
        QTest::mouseClick(recording.cmdStopRecording, Qt::LeftButton);
        QTest::mouseClick(measure.cmdMeasure, Qt::LeftButton); // Stop
        const QString ended = recording.lblRecording->text();
        QVERIFY2(ended.startsWith("Recorded ") && ended.contains("overran their period"),
                 qPrintable(ended));

        QFile csv(file);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines.takeLast(), QByteArray()); // after the last line end
        const QByteArray header = lines.takeFirst();
        QVERIFY2(header.startsWith("Time,Address,Method,Value 1,Value 2,Value 3,") &&
                     header.endsWith(",Result\r"),
                 header.constData());
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
