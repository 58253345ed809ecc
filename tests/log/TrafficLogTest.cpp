#include "link/TrafficLog.h"
#include "link/LogFile.h"
#include "link/TrafficLogFormat.h"
#include "link/TranscriptModel.h"
#include "platform/Clock.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
// Each reading of the local time is one second after the previous one.
class SteppingClock : public IClock {
public:
    qint64 TickMs() const override { return 0; }
    double MonotonicSeconds() const override { return 0; }
    QDateTime LocalNow() const override { return m_now = m_now.addSecs(1); }
    void SleepPrecise(int) override {}

private:
    mutable QDateTime m_now{QDate(2026, 1, 31), QTime(14, 5, 8)};
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TrafficLogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_logPath = m_folder.filePath(QStringLiteral("ProbeTerm.log")); }
    void cleanup() { QFile::remove(m_logPath); }

    void lines_data() {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<qint64>("gapMs");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QByteArray>("logLine");
        const QDateTime when(QDate(2026, 1, 31), QTime(14, 5, 9));
        QTest::newRow("measurement")
            << when << QByteArray("0+1.23\r\n") << qint64(250)
            << "2026-01-31 14:05:09 [250 mS] <0+1.23\r\n>"
            << "- 30 2B 31 2E 32 33 0D 0A"
            << QByteArray("2026-01-31 14:05:09250 - 30 2B 31 2E 32 33 0D 0A\r\n");
        QTest::newRow("NUL left out of line 1 only, high bytes as Latin-1")
            << when << QByteArray("0\0\xFE\r\n", 5) << qint64(40)
            << QStringLiteral("2026-01-31 14:05:09 [40 mS] <0\u00FE\r\n>") << "- 30 00 FE 0D 0A"
            << QByteArray("2026-01-31 14:05:0940 - 30 00 FE 0D 0A\r\n");
        QTest::newRow("first gap, padded stamp, 24-hour clock")
            << QDateTime(QDate(2026, 2, 3), QTime(23, 5, 6)) << QByteArray("0") << qint64(0)
            << "2026-02-03 23:05:06 [0 mS] <0>"
            << "- 30" << QByteArray("2026-02-03 23:05:060 - 30\r\n");
    }
    void lines() {
        QFETCH(QDateTime, when);
        QFETCH(QByteArray, response);
        QFETCH(qint64, gapMs);
        QTEST(TrafficLogFormat::TranscriptLine1(when, gapMs, response), "line1");
        QTEST(TrafficLogFormat::TranscriptLine2(response), "line2");
        QTEST(TrafficLogFormat::LogLine(when, gapMs, response), "logLine");
    }

    // The log line takes its own stamp, one second later on this clock.
    void writesTwoItemsAndOneLine() {
        TranscriptModel transcript;
        LogFile log;
        SteppingClock clock;
        QVERIFY(log.Open(m_logPath, nullptr));
        QCOMPARE(TrafficLog(transcript, log, clock).Write("0\r\n", 250), QString());
        QCOMPARE(transcript.rowCount(), 2);
        QCOMPARE(transcript.Item(0), QStringLiteral("2026-01-31 14:05:09 [250 mS] <0\r\n>"));
        QCOMPARE(transcript.Item(1), QStringLiteral("- 30 0D 0A"));
        QCOMPARE(contents(m_logPath), QByteArray("2026-01-31 14:05:10250 - 30 0D 0A\r\n"));
    }

    // A reopen keeps the earlier lines; a file removed while open is made anew.
    void appendsAcrossReopenAndRemoval() {
        for (const char* line : {"first\r\n", "second\r\n"}) {
            LogFile log;
            QVERIFY(log.Open(m_logPath, nullptr) && log.AppendLine(line));
        }
        QCOMPARE(contents(m_logPath), QByteArray("first\r\nsecond\r\n"));
        LogFile log;
        QVERIFY(log.Open(m_logPath, nullptr) && QFile::remove(m_logPath));
        QVERIFY(log.AppendLine("third\r\n"));
        QCOMPARE(contents(m_logPath), QByteArray("third\r\n"));
    }

    void failureReportedOnceUntilAWriteSucceeds_data() {
        QTest::addColumn<QString>("failingPath");
        QTest::newRow("disk full") << QStringLiteral("/dev/full");
        QTest::newRow("not open") << QString();
    }
    void failureReportedOnceUntilAWriteSucceeds() {
        QFETCH(QString, failingPath);
        TranscriptModel transcript;
        LogFile log;
        SteppingClock clock;
        TrafficLog trafficLog(transcript, log, clock);
        for (int round = 0; round < 2; ++round) {
            if (failingPath.isEmpty())
                log.Close();
            else
                QVERIFY(log.Open(failingPath, nullptr));
            const QString report = trafficLog.Write("0\r\n", 0);
            QVERIFY2(report.contains(log.Path().isEmpty() ? QStringLiteral("(none)") : log.Path()),
                     qPrintable(report));
            QCOMPARE(trafficLog.Write("0\r\n", 10), QString());
            QVERIFY(log.Open(m_logPath, nullptr));
            QCOMPARE(trafficLog.Write("0\r\n", 10), QString());
        }
        QCOMPARE(transcript.rowCount(), 12);
    }

private:
    QTemporaryDir m_folder;
    QString m_logPath;
};

QTEST_GUILESS_MAIN(TrafficLogTest)
#include "TrafficLogTest.moc"
