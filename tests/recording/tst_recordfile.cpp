#include "measure/MeasurementTable.h"
#include "recording/DailyName.h"
#include "recording/MeasurementRecorder.h"
#include "recording/RecordFile.h"
#include "store/FullDisk.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray Header = "Time,Address,Method,TA (degC),RH (%),Result\r\n";
const QByteArray Row = "2026-01-31T14:05:09Z,0,M,+21.37,-0.5,OK\r\n";
const QDateTime Time(QDate(2026, 1, 31), QTime(14, 5, 9), Qt::UTC);
const QDateTime Midnight(QDate(2026, 2, 1), QTime(0, 0), Qt::UTC);

RecordColumns columns() {
    return RecordColumns({{'0', {"TA (degC)", "RH (%)"}}});
}

RecordRow row(const QDateTime& time = Time, const QStringList& values = {"+21.37", "-0.5"}) {
    QList<MeasuredValue> measured;
    for (const QString& value : values)
        measured.append({value, value.toDouble()});
    return {time, '0', "M", measured, "OK"};
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

Q_DECLARE_METATYPE(RecordOpening::Kind)

class TestRecordFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    QString m_path;

private slots:
    void init() {
        m_path = m_folder.filePath(QTest::currentTestFunction() + QString(QTest::currentDataTag()) +
                                   ".csv");
    }

    // What a file already there holds (or "(none)"), and the file after one
    // row is recorded to it.
    void opensNewOrAppends_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<RecordOpening::Kind>("opening");
        QTest::addColumn<QByteArray>("after");
        const QByteArray torn = Row.left(20);
        QTest::newRow("no file") << QByteArray("(none)") << RecordOpening::Kind::New
                                 << Header + Row;
        QTest::newRow("empty file") << QByteArray() << RecordOpening::Kind::New << Header + Row;
        QTest::newRow("same header")
            << Header + Row << RecordOpening::Kind::Appending << Header + Row + Row;
        QTest::newRow("torn last row completed as its own line")
            << Header + torn << RecordOpening::Kind::Appending << Header + torn + "\r\n" + Row;
        QTest::newRow("torn between CR and LF")
            << Header + Row.chopped(1) << RecordOpening::Kind::Appending << Header + Row + Row;
        QTest::newRow("header without its line end")
            << Header.chopped(2) << RecordOpening::Kind::Appending << Header + Row;
        QTest::newRow("other columns, left as they were")
            << QByteArray("Time,Address,Method,Value 1,Result\r\nx\r\n")
            << RecordOpening::Kind::OtherHeader
            << QByteArray("Time,Address,Method,Value 1,Result\r\nx\r\n");
    }
    void opensNewOrAppends() {
        QFETCH(QByteArray, before);
        QFETCH(RecordOpening::Kind, opening);
        if (before != "(none)")
            QVERIFY(writeFile(m_path, before));
        RecordFile file;
        const RecordOpening opened = file.Open(m_path, columns(), {}, Time);
        QCOMPARE(opened.What, opening);
        QCOMPARE(file.IsRecording(), opened.IsRecording());
        QCOMPARE(file.AppendRow(row()), opened.IsRecording());
        QCOMPARE(file.RowsWritten(), opened.IsRecording() ? 1 : 0);
        QTEST(contents(m_path), "after");
        if (!opened.IsRecording())
            QCOMPARE(file.ErrorString(), "no recording is open");
    }

    void openFailsWithTheSystemsReason_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder")
            << m_folder.filePath("missing/a.csv") << "No such file or directory";
        QTest::newRow("a folder") << m_folder.path() << "Is a directory";
    }
    void openFailsWithTheSystemsReason() {
        QFETCH(QString, path);
        RecordFile file;
        const RecordOpening opened = file.Open(path, columns(), {}, Time);
        QCOMPARE(opened.What, RecordOpening::Kind::Failed);
        QTEST(opened.Reason, "reason");
        QCOMPARE(file.CurrentPath(), path);
        QVERIFY(!file.IsRecording());
    }

    // The day's file next to the one in use: none yet, one with other
    // columns (rows then fail until the operator acts), one with the same.
    void rowsGoToTheFileOfTheirUtcDay_data() {
        QTest::addColumn<QByteArray>("nextDayBefore");
        QTest::addColumn<bool>("nextDayTaken");
        QTest::addColumn<QByteArray>("nextDayAfter");
        const QByteArray nextRow = "2026-02-01T00:00:00Z,0,M,+21.37,-0.5,OK\r\n";
        QTest::newRow("new day, new file") << QByteArray("(none)") << true << Header + nextRow;
        QTest::newRow("the day's file has other columns")
            << QByteArray("Time,Note\r\n") << false << QByteArray("Time,Note\r\n");
        QTest::newRow("the day's file torn")
            << Header + "2026" << true << Header + "2026\r\n" + nextRow;
    }
    void rowsGoToTheFileOfTheirUtcDay() {
        QFETCH(QByteArray, nextDayBefore);
        QFETCH(bool, nextDayTaken);
        const QString firstDay = DailyName::PathFor(m_path, Midnight.addSecs(-1));
        const QString nextDay = DailyName::PathFor(m_path, Midnight);
        if (nextDayBefore != "(none)")
            QVERIFY(writeFile(nextDay, nextDayBefore));
        RecordFile file;
        QCOMPARE(file.Open(m_path, columns(), {RecordTimes::Utc, true}, Midnight.addSecs(-2)).What,
                 RecordOpening::Kind::New);
        QCOMPARE(file.CurrentPath(), firstDay);
        QVERIFY(file.AppendRow(row(Midnight.addSecs(-1))));
        QCOMPARE(file.AppendRow(row(Midnight)), nextDayTaken);
        QCOMPARE(file.CurrentPath(), nextDay);
        QCOMPARE(file.RowsWritten(), nextDayTaken ? 2 : 1);
        if (!nextDayTaken) {
            QCOMPARE(file.ErrorString(), "the file has other columns");
            QVERIFY(!file.AppendRow(row(Midnight.addSecs(1))));
        }
        QCOMPARE(contents(firstDay), Header + "2026-01-31T23:59:59Z,0,M,+21.37,-0.5,OK\r\n");
        QTEST(contents(nextDay), "nextDayAfter");
    }

    // Rows would go on into the removed file, where nobody sees them.
    void fileRemovedWhileRecordingIsMadeAnew() {
        RecordFile file;
        QVERIFY(file.Open(m_path, columns(), {}, Time).IsRecording());
        QVERIFY(file.AppendRow(row()));
        QVERIFY(QFile::rename(m_path, m_path + ".moved"));
        QVERIFY(file.AppendRow(row()));
        QCOMPARE(contents(m_path + ".moved"), Header + Row);
        QCOMPARE(contents(m_path), Header + Row);
        QCOMPARE(file.RowsWritten(), 2);
    }

    void rowWithMoreValuesThanColumnsLeavesNothing() {
        RecordFile file;
        QVERIFY(file.Open(m_path, columns(), {}, Time).IsRecording());
        QVERIFY(!file.AppendRow(row(Time, {"+1", "+2", "+3"})));
        QCOMPARE(file.ErrorString(), "sensor 0 sent 3 values; the file has columns for 2");
        QVERIFY(file.AppendRow(row()));
        QCOMPARE(contents(m_path), Header + Row);
        QCOMPARE(file.RowsWritten(), 1);
    }

    // Rows go in until one meets the full disk: it leaves nothing of itself,
    // the reason is the system's, the rows before it are whole, and once
    // there is room again the next row starts its own line. On the real disk
    // the rows fill the rest of the header's page.
    void fullDiskStopsAtAWholeRow_data() {
        QTest::addColumn<bool>("realDisk");
        QTest::newRow("size limit") << false;
        QTest::newRow("tiny disk") << true;
    }
    void fullDiskStopsAtAWholeRow() {
        QFETCH(bool, realDisk);
        FullDisk disk(realDisk);
        if (!disk.Usable())
            QSKIP("mounting a tmpfs is not permitted here");
        const QString path = disk.Place(m_path);
        RecordFile file;
        QVERIFY(file.Open(path, columns(), {}, Time).IsRecording());
        const rlim_t roomForTwoRowsAndAHalf = rlim_t(Header.size() + 2.5 * Row.size());
        const int rows = disk.WhileFull(0, roomForTwoRowsAndAHalf, [&file] {
            int written = 0;
            while (written < 1000 && file.AppendRow(row()))
                ++written;
            return written;
        });
        QCOMPARE(file.ErrorString(), disk.Reason());
        QCOMPARE(file.RowsWritten(), rows);
        QVERIFY(rows >= 2 && rows < 1000);
        QCOMPARE(contents(path), Header + Row.repeated(rows));
        disk.Free();
        QVERIFY(file.AppendRow(row()));
        QCOMPARE(contents(path), Header + Row.repeated(rows + 1));
    }

    // The recorder stops at the first row the disk refuses, says so once,
    // and writes nothing more.
    void recorderStopsAtAFullDisk() {
        FullDisk disk(false);
        const QString path = disk.Place(m_path);
        MeasurementRecorder recorder;
        QSignalSpy failed(&recorder, &MeasurementRecorder::failed);
        QSignalSpy written(&recorder, &MeasurementRecorder::rowWritten);
        QVERIFY(recorder
                    .start(path, {{'0', {"TA (degC)", "RH (%)"}}},
                           *MeasurementMethod::FromName("M"), {}, Time)
                    .IsRecording());
        MeasurementRecord record{Time, "0M!", {}, '0'};
        record.Outcome.Values = row().Values;
        disk.WhileFull(0, rlim_t(Header.size() + Row.size()), [&] {
            for (int i = 0; i < 3; ++i)
                recorder.record(record);
            return 0;
        });
        QCOMPARE(written.count(), 1);
        QCOMPARE(failed.count(), 1);
        QVERIFY2(failed.at(0).at(0).toString().contains(disk.Reason()),
                 qPrintable(failed.at(0).at(0).toString()));
        QVERIFY(!recorder.isRecording());
        QCOMPARE(contents(path), Header + Row);
    }

    void fullDiskLeavesNoNewFileBehind_data() {
        QTest::addColumn<bool>("realDisk");
        QTest::newRow("size limit") << false;
        QTest::newRow("tiny disk") << true;
    }
    void fullDiskLeavesNoNewFileBehind() {
        QFETCH(bool, realDisk);
        FullDisk disk(realDisk);
        if (!disk.Usable())
            QSKIP("mounting a tmpfs is not permitted here");
        const QString path = disk.Place(m_path);
        RecordFile file;
        const RecordOpening opened =
            disk.WhileFull(0, 10, [&] { return file.Open(path, columns(), {}, Time); });
        QCOMPARE(opened.What, RecordOpening::Kind::Failed);
        QCOMPARE(opened.Reason, disk.Reason());
        QVERIFY(!QFile::exists(path));
    }

    // A child process records with a file size limit and the signal that
    // such a limit raises left to its default action, which ends a program.
    void fileSizeLimitStopsRecordingAndNotTheProgram() {
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            RecordFile file;
            const bool opened = file.Open(m_path, columns(), {}, Time).IsRecording();
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = rlim_t(Header.size() + 3.5 * Row.size());
            setrlimit(RLIMIT_FSIZE, &limit);
            while (opened && file.AppendRow(row())) {
            }
            _exit(opened && file.RowsWritten() == 3 && file.ErrorString() == qt_error_string(EFBIG)
                      ? 0
                      : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(!WIFSIGNALED(status),
                 qPrintable(QString("killed by signal %1").arg(WTERMSIG(status))));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(contents(m_path), Header + Row.repeated(3));
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
