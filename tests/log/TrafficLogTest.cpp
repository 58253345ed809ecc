#include "link/TrafficLog.h"
#include "link/LogFile.h"
#include "link/TranscriptModel.h"
#include "support/FakeClock.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TrafficLogTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    const QString m_logPath = m_folder.filePath("ProbeTerm.log");
    FakeClock m_clock; // 2026-01-31 14:05:09
    LogFile m_log;

private slots:
    void cleanup() { QFile::remove(m_logPath); }

    void writesTwoItemsAndOneLine_data() {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<qint64>("gapMs");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QByteArray>("logLine");
        QTest::newRow("measurement")
            << QByteArray("0+1.23\r\n") << qint64(250)
            << "2026-01-31 14:05:09 [250 mS] <0+1.23\r\n>"
            << "- 30 2B 31 2E 32 33 0D 0A"
            << QByteArray("2026-01-31 14:05:09250 - 30 2B 31 2E 32 33 0D 0A\r\n");
        QTest::newRow("NUL left out of line 1 only, high bytes as Latin-1")
            << QByteArray("0\0\xFE\r\n", 5) << qint64(40)
            << "2026-01-31 14:05:09 [40 mS] <0\u00FE\r\n>"
            << "- 30 00 FE 0D 0A" << QByteArray("2026-01-31 14:05:0940 - 30 00 FE 0D 0A\r\n");
    }
    void writesTwoItemsAndOneLine() {
        QFETCH(QByteArray, response);
        QFETCH(qint64, gapMs);
        TranscriptModel transcript;
        QVERIFY(m_log.Open(m_logPath, nullptr));
        QCOMPARE(TrafficLog(transcript, m_log, m_clock).Write(response, gapMs), QString());
        QCOMPARE(transcript.rowCount(), 2);
        QTEST(transcript.Item(0), "line1");
        QTEST(transcript.Item(1), "line2");
        QTEST(contents(m_logPath), "logLine");
    }

    // A reopen keeps the earlier lines; a file removed while open is made anew.
    void appendsAcrossReopenAndRemoval() {
        QVERIFY(m_log.Open(m_logPath, nullptr) && m_log.AppendLine("first\r\n"));
        QVERIFY(m_log.Open(m_logPath, nullptr) && m_log.AppendLine("second\r\n"));
        QCOMPARE(contents(m_logPath), "first\r\nsecond\r\n");
        QVERIFY(QFile::remove(m_logPath) && m_log.AppendLine("third\r\n"));
        QCOMPARE(contents(m_logPath), "third\r\n");
    }

    // Reported again only after a line has gone through.
    void failureReportedOnce() {
        TranscriptModel transcript;
        TrafficLog trafficLog(transcript, m_log, m_clock);
        for (int round = 0; round < 2; ++round) {
            QVERIFY(m_log.Open("/dev/full", nullptr));
            QVERIFY(trafficLog.Write("0\r\n", 0).contains("/dev/full"));
            QCOMPARE(trafficLog.Write("0\r\n", 10), QString());
            QVERIFY(m_log.Open(m_logPath, nullptr));
            QCOMPARE(trafficLog.Write("0\r\n", 10), QString());
        }
    }
};

QTEST_GUILESS_MAIN(TrafficLogTest)
#include "TrafficLogTest.moc"
