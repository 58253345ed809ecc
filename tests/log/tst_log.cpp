#include "link/LogFile.h"
#include "link/TrafficLog.h"
#include "link/TrafficLogFormat.h"
#include "link/TranscriptModel.h"
#include "link/WidestLine.h"
#include "link/ui/TranscriptView.h"
#include "store/FullDisk.h"
#include "support/FakeClock.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLog : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    const QString m_logPath = m_folder.filePath("ProbeTerm.log");
    FakeClock m_clock; // 2026-01-31 14:05:09
    LogFile m_log;

    static QByteArray contents(const QString& path) {
        QFile file(path);
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
        QTEST(contents(m_logPath), "logLine");
    }

    // A file removed while open is made anew at the next line.
    void recreatesARemovedFile() {
        QVERIFY(m_log.Open(m_logPath, nullptr) && m_log.AppendLine("first\r\n"));
        QVERIFY(QFile::remove(m_logPath) && m_log.AppendLine("second\r\n"));
        QCOMPARE(contents(m_logPath), "second\r\n");
    }

    // A line that meets a full disk part-way leaves nothing of itself, the
    // report gives the system's reason, and the next line, once there is
    // room again, starts where the log ended. On the real disk the earlier
    // lines end 6 bytes short of a page that cannot be had.
    void lineIsWrittenWholeOrNotAtAll_data() {
        QTest::addColumn<bool>("realDisk");
        QTest::addColumn<int>("earlierBytes");
        QTest::newRow("size limit") << false << 100;
        QTest::newRow("tiny disk") << true << int(FullDisk::PageSize) - 6;
    }
    void lineIsWrittenWholeOrNotAtAll() {
        QFETCH(bool, realDisk);
        QFETCH(int, earlierBytes);
        FullDisk disk(realDisk);
        if (!disk.Usable())
            QSKIP("mounting a tmpfs is not permitted here");
        const QString path = disk.Place(m_logPath);
        const QByteArray earlier = QByteArray(earlierBytes - 2, 'e') + "\r\n";
        LogFile log;
        QVERIFY(log.Open(path, nullptr) && log.AppendLine(earlier));
        TranscriptModel transcript;
        TrafficLog trafficLog(transcript, log, m_clock);
        const QString report = disk.WhileFull(0, earlierBytes + 6,
                                              [&] { return trafficLog.Write("0+1.23\r\n", 250); });
        QVERIFY2(report.contains('(' + disk.Reason() + ')'), qPrintable(report));
        QCOMPARE(contents(path), earlier);
        disk.Free();
        QCOMPARE(trafficLog.Write("0+4.56\r\n", 10), QString());
        QVERIFY(contents(path).startsWith(earlier + "2026-01-31 14:05:0910 - 30 2B 34"));
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

    // Answers of itemChars characters each appended to a full list: the
    // oldest go in whole answers, many at once, and the rest stay intact.
    void transcriptKeepsTheNewestItems_data() {
        QTest::addColumn<int>("maxItems");
        QTest::addColumn<int>("itemChars");
        QTest::addColumn<int>("answers");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("drops");
        QTest::newRow("at the limit") << 10 << 8 << 5 << 10 << 0;
        QTest::newRow("one answer over") << 10 << 8 << 6 << 10 << 1;
        QTest::newRow("odd limit") << 11 << 8 << 6 << 10 << 1;
        QTest::newRow("ten answers a drop") << 1280 << 8 << 700 << 1280 << 6;
        QTest::newRow("drops cutting storage chunks") << 6 << 80000 << 7 << 6 << 4;
    }
    void transcriptKeepsTheNewestItems() {
        QFETCH(int, maxItems);
        QFETCH(int, itemChars);
        QFETCH(int, answers);
        const auto item = [itemChars](int number) {
            return QString::number(number).leftJustified(itemChars, '.');
        };
        TranscriptModel transcript(maxItems);
        QSignalSpy drops(&transcript, &QAbstractItemModel::rowsRemoved);
        for (int number = 0; number < 2 * answers; ++number) {
            transcript.Append(item(number));
            QVERIFY(transcript.rowCount() <= transcript.MaxItems());
        }
        QTEST(transcript.rowCount(), "rows");
        QTEST(int(drops.count()), "drops");
        const int first = 2 * answers - transcript.rowCount();
        QCOMPARE(first % 2, 0);
        for (int row = 0; row < transcript.rowCount(); ++row)
            QCOMPARE(transcript.Item(row), item(first + row));
    }

    void logKeepsWhatTheTranscriptDrops() {
        QVERIFY(m_log.Open(m_logPath, nullptr));
        TranscriptModel transcript(4);
        TrafficLog trafficLog(transcript, m_log, m_clock);
        for (const char* response : {"0+1\r\n", "0+2\r\n", "0+3\r\n"})
            trafficLog.Write(response, 0);
        QCOMPARE(contents(m_logPath).count("\r\n"), 3);
        QCOMPARE(transcript.rowCount(), 4);
        QVERIFY(transcript.Item(0).contains("<0+2"));
    }

    // Each step appends a line of that width (a number) or drops the oldest
    // lines (D and a count); lines go in blocks of two.
    void widestLine_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("widest");
        QTest::newRow("appends") << "5 9 3" << 9;
        QTest::newRow("widest block dropped") << "5 9 3 D2" << 3;
        QTest::newRow("cut block kept whole") << "9 5 3 D1" << 9;
        QTest::newRow("everything dropped") << "5 9 3 D7" << 0;
        QTest::newRow("appends after a drop") << "9 5 3 D4 4" << 4;
    }
    void widestLine() {
        QFETCH(QString, steps);
        WidestLine widestLine(2);
        for (const QString& step : steps.split(' ')) {
            if (step.startsWith('D'))
                widestLine.DropOldest(step.mid(1).toInt());
            else
                widestLine.Append(step.toInt());
        }
        QTEST(widestLine.Widest(), "widest");
    }

    // The hex line of a long answer can be scrolled to its end; read-back
    // rows stay in view while old rows are dropped.
    void viewShowsLinesWholeAndKeepsItsPlace() {
        TranscriptModel transcript(200);
        TranscriptView view;
        view.setModel(&transcript);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QByteArray answer = "0+" + QByteArray(1000, '7') + "\r\n";
        const QString hexLine = TrafficLogFormat::TranscriptLine2(answer);
        for (int number = 0; number < 100; ++number) {
            transcript.Append(QString("A%1").arg(number));
            transcript.Append(number == 10 ? hexLine : QString("B%1").arg(number));
        }
        const int hexWidth = view.sizeHintForIndex(transcript.index(21)).width();
        QCOMPARE(transcript.Item(21), hexLine);
        QVERIFY(view.columnWidth(0) >= hexWidth);
        QTRY_VERIFY(view.horizontalScrollBar()->maximum() + view.viewport()->width() >= hexWidth);
        QFont larger = view.font();
        larger.setPointSizeF(larger.pointSizeF() * 2);
        view.setFont(larger);
        QVERIFY(view.columnWidth(0) >= view.sizeHintForIndex(transcript.index(21)).width());
        QVERIFY(view.sizeHintForIndex(transcript.index(21)).width() > hexWidth);

        QTRY_VERIFY(view.verticalScrollBar()->maximum() > 120);
        view.scrollTo(transcript.index(120), QAbstractItemView::PositionAtTop);
        const QString top = transcript.Item(view.rowAt(0));
        transcript.Append("new");
        transcript.Append("new");
        QCOMPARE(transcript.rowCount(), 200);
        QCOMPARE(transcript.Item(view.rowAt(0)), top);
    }
};

QTEST_MAIN(TestLog)
#include "tst_log.moc"
