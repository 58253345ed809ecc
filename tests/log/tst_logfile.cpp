#include "link/LogFile.h"
#include "link/TrafficLog.h"
#include "link/TranscriptModel.h"
#include "store/FullDisk.h"
#include "support/FakeClock.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

class TestLogFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    FakeClock m_clock;

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

private slots:
    // A line that meets a full disk part-way leaves nothing of itself, the
    // report gives the system's reason, and the next line, once there is
    // room again, starts where the log ended. On the tiny disk the earlier
    // lines end 6 bytes short of a page that cannot be had.
    void lineIsWrittenWholeOrNotAtAll_data() {
        QTest::addColumn<bool>("realDisk");
        QTest::addColumn<int>("earlierBytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("size limit") << false << 100 << qt_error_string(EFBIG);
        QTest::newRow("tiny disk")
            << true << int(TinyDisk::PageSize) - 6 << qt_error_string(ENOSPC);
    }
    void lineIsWrittenWholeOrNotAtAll() {
        QFETCH(bool, realDisk);
        QFETCH(int, earlierBytes);
        std::unique_ptr<TinyDisk> disk;
        QString path = m_folder.filePath("ProbeTerm.log");
        if (realDisk) {
            disk = std::make_unique<TinyDisk>();
            if (!disk->IsMounted())
                QSKIP("mounting a tmpfs is not permitted here");
            path = disk->FilePath("ProbeTerm.log");
        }
        const QByteArray earlier = QByteArray(earlierBytes - 2, 'e') + "\r\n";
        LogFile log;
        QVERIFY(log.Open(path, nullptr) && log.AppendLine(earlier));
        TranscriptModel transcript;
        TrafficLog trafficLog(transcript, log, m_clock);
        QString report;
        {
            std::optional<FileSizeLimit> limit;
            if (disk)
                disk->Fill();
            else
                limit.emplace(earlierBytes + 6);
            report = trafficLog.Write("0+1.23\r\n", 250);
        }
        QFETCH(QString, reason);
        QVERIFY2(report.contains('(' + reason + ')'), qPrintable(report));
        QCOMPARE(contents(path), earlier);
        if (disk)
            disk->Free();
        QCOMPARE(trafficLog.Write("0+4.56\r\n", 10), QString());
        QVERIFY(contents(path).startsWith(earlier + "2026-01-31 14:05:0910 - 30 2B 34"));
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
