#include "link/TrafficLog.h"
#include "link/LogFile.h"
#include "link/TranscriptModel.h"
#include "support/FakeClock.h"

#include <QTemporaryDir>
#include <QTest>

class TrafficLogTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    const QString m_logPath = m_folder.filePath("ProbeTerm.log");
    FakeClock m_clock; // 2026-01-31 14:05:09
    LogFile m_log;

    QByteArray logContents() const {
        QFile file(m_logPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void cleanup() { QFile::remove(m_logPath); }

    void writesTwoItemsAndOneLine_data() {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<qint64>("gapMs");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QByteArray>("logLine");
        QTest::newRow("measurement")
            << QByteArray("0+1.23\r\n") << qint64(250)
            << QStringList{"2026-01-31 14:05:09 [250 mS] <0+1.23\r\n>", "- 30 2B 31 2E 32 33 0D 0A"}
            << QByteArray("2026-01-31 14:05:09250 - 30 2B 31 2E 32 33 0D 0A\r\n");
        QTest::newRow("NUL left out of line 1 only, high bytes as Latin-1")
            << QByteArray("0\0\xFE\r\n", 5) << qint64(40)
            << QStringList{"2026-01-31 14:05:09 [40 mS] <0\u00FE\r\n>", "- 30 00 FE 0D 0A"}
            << QByteArray("2026-01-31 14:05:0940 - 30 00 FE 0D 0A\r\n");
    }
    void writesTwoItemsAndOneLine() {
        QFETCH(QByteArray, response);
        QFETCH(qint64, gapMs);
        QVERIFY(m_log.Open(m_logPath, nullptr));
        TranscriptModel transcript;
        QCOMPARE(TrafficLog(transcript, m_log, m_clock).Write(response, gapMs), QString());
        QTEST(QStringList({transcript.Item(0), transcript.Item(1)}), "items");
        QCOMPARE(transcript.rowCount(), 2);
        QTEST(logContents(), "logLine");
    }

    // A file removed while open is made anew at the next line.
    void recreatesARemovedFile() {
        QVERIFY(m_log.Open(m_logPath, nullptr) && m_log.AppendLine("first\r\n"));
        QVERIFY(QFile::remove(m_logPath) && m_log.AppendLine("second\r\n"));
        QCOMPARE(logContents(), "second\r\n");
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

    // Enough items to fill several storage chunks, one larger than a chunk,
    // an empty one and non-ASCII text.
    void transcriptGivesItemsBackInOrder() {
        QStringList items{QString(300000, 'y'), QString(), "\u00FE \u65E5 z"};
        for (int i = 0; i < 30000; ++i)
            items << QString("2026-01-31 14:05:09 [%1 mS] <0+1.23\r\n>").arg(i);
        TranscriptModel transcript;
        for (const QString& item : items)
            transcript.Append(item);
        QCOMPARE(transcript.rowCount(), items.size());
        for (int row = 0; row < items.size(); ++row)
            QCOMPARE(transcript.Item(row), items[row]);
        QCOMPARE(transcript.Item(items.size()), QString());
        QCOMPARE(transcript.index(2).data().toString(), items[2]);
    }
};

QTEST_GUILESS_MAIN(TrafficLogTest)
#include "TrafficLogTest.moc"
