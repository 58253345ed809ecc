#include "link/TranscriptModel.h"

#include <QTest>

class TranscriptModelTest : public QObject {
    Q_OBJECT
private slots:
    // Enough items to fill several storage chunks, one larger than a chunk,
    // an empty one and non-ASCII text.
    void itemsComeBackInOrder() {
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

QTEST_GUILESS_MAIN(TranscriptModelTest)
#include "TranscriptModelTest.moc"
