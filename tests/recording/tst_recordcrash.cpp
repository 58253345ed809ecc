#include "support/SimulatorProcess.h"
#include "support/TempFolders.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

// A recording killed at random moments, 20 times, each run appending to
// the same file: the file always holds its header once and whole rows only,
// every row reported as written, and at most one more per kill (written,
// not yet reported).
class TestRecordCrash : public QObject {
    Q_OBJECT
private slots:
    void killedRecordingLosesNoReportedRow() {
        SimulatorProcess sim(
            {QStringLiteral("--quiet"), QStringLiteral("--address"), QStringLiteral("03")});
        QVERIFY(sim.Started());
        TempFolders folders;
        const QString record = folders.Root() + QStringLiteral("/record.csv");
        const QString log = folders.Root() + QStringLiteral("/traffic.log");
        QRandomGenerator random(20261207);
        qint64 reported = 0;
        for (int kill = 1; kill <= 20; ++kill) {
            QProcess child;
            child.start(QStringLiteral(PROBETERM_RECORDING_CHILD), {sim.DevicePath(), record, log});
            QVERIFY(child.waitForStarted());
            const int rowsBeforeKill = 1 + int(random.bounded(4));
            qint64 lastInRun = 0;
            QDeadlineTimer deadline(30000);
            while (lastInRun < rowsBeforeKill && !deadline.hasExpired()) {
                child.waitForReadyRead(100);
                while (child.canReadLine()) {
                    const QByteArray line = child.readLine().trimmed();
                    QVERIFY2(line.startsWith("recorded "), line.constData());
                    lastInRun = line.mid(9).toLongLong();
                }
            }
            QVERIFY(lastInRun >= rowsBeforeKill);
            // Somewhere in the next measurement, or between two.
            QTest::qWait(int(random.bounded(400)));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());
            while (child.canReadLine())
                lastInRun = child.readLine().trimmed().mid(9).toLongLong();
            reported += lastInRun;

            QFile file(record);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            QVERIFY(text.endsWith("\r\n")); // no torn last line
            QList<QByteArray> lines = text.split('\n');
            lines.removeLast(); // after the last line end
            QCOMPARE(lines.first(), QByteArray("Time,Address,Method,Value 1,Value 2,Value 3,"
                                               "Result\r"));
            QCOMPARE(text.count("Time,"), 1); // the header once
            for (const QByteArray& line : lines.mid(1)) {
                // Whole: a time, an address, the method and a result.
                QVERIFY2(line.count(',') == 6 && line.endsWith('\r'), line.constData());
                QVERIFY2(line.contains(",R0,"), line.constData());
            }
            const qint64 rows = lines.size() - 1;
            QVERIFY2(rows >= reported && rows <= reported + kill,
                     qPrintable(QStringLiteral("%1 rows, %2 reported").arg(rows).arg(reported)));
        }
    }
};

QTEST_MAIN(TestRecordCrash)
#include "tst_recordcrash.moc"
