#include "link/TranscriptModel.h"

#include <QListView>
#include <QTest>

class TranscriptModelTest : public QObject {
    Q_OBJECT
private slots:
    // Sizes that fill several storage chunks, or exceed one with a single item.
    void itemsComeBackInOrder_data() {
        QTest::addColumn<QStringList>("items");
        QStringList many;
        for (int i = 0; i < 30000; ++i)
            many << QStringLiteral("2026-01-31 14:05:09 [%1 mS] <0+1.23\r\n>").arg(i);
        QTest::newRow("many chunks") << many;
        QTest::newRow("larger than a chunk, empty, non-ASCII") << QStringList{
            QString(300000, QLatin1Char('y')), QString(), QStringLiteral("\u00FE \u65E5 z")};
    }
    void itemsComeBackInOrder() {
        QFETCH(QStringList, items);
        TranscriptModel transcript;
        for (const QString& item : items)
            transcript.Append(item);
        QCOMPARE(transcript.rowCount(), items.size());
        for (int row = 0; row < items.size(); ++row) {
            if (transcript.Item(row) != items[row])
                QFAIL(qPrintable(QStringLiteral("row %1 differs").arg(row)));
        }
        QCOMPARE(transcript.Item(items.size()), QString());
    }

    void appendedItemsReachTheViewAtTheNextTurn() {
        TranscriptModel transcript;
        QListView view;
        view.setUniformItemSizes(true);
        view.setModel(&transcript);
        view.show();
        for (int i = 0; i < 500; ++i)
            transcript.Append(QStringLiteral("item %1").arg(i));
        QCoreApplication::processEvents();
        const QModelIndex last = transcript.index(499);
        view.scrollTo(last);
        QCOMPARE(view.indexAt(view.visualRect(last).center()).data().toString(),
                 QStringLiteral("item 499"));
    }
};

QTEST_MAIN(TranscriptModelTest)
#include "TranscriptModelTest.moc"
