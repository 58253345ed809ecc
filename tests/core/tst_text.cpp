#include "platform/TextCuts.h"

#include <QtTest>

namespace {

// "😀" is one character written as the surrogate pair D83D DE00.
const QString Face = QString::fromUtf8("\xF0\x9F\x98\x80");

} // namespace

class TestText : public QObject {
    Q_OBJECT
private slots:
    void cuts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position"); // -1: the first `length` characters
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("cut");
        QTest::newRow("characters: pair counts as one")
            << "ab" + Face + "c" << -1 << 3 << "ab" + Face;
        QTest::newRow("characters: fewer than asked") << Face << -1 << 8 << Face;
        QTest::newRow("units: pair cut at the end") << "ab" + Face << 0 << 3 << "ab";
        QTest::newRow("units: pair cut at the start") << Face + "ab" << 1 << 2 << "a";
        QTest::newRow("units: only half a pair") << Face << 0 << 1 << "";
        QTest::newRow("units: beyond the end") << "ab" << 1 << 9 << "b";
    }
    void cuts() {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(int, length);
        QTEST(position < 0 ? TextCuts::FirstCharacters(text, length)
                           : TextCuts::WholeCharactersIn(text, position, length),
              "cut");
    }
};

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
