#include "platform/OneLineText.h"
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

    void oneLine_data() {
        QTest::addColumn<QString>("received");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const QString& received, const QString& shown) {
            QTest::newRow(name) << received << shown;
        };
        row("line ends", "0+1\r\n", "0+1\u21B5");
        row("C0 control and DEL", "a\tb\x7F", "a\u00B7b\u00B7");
        row("C1 control", "0\u0085+1", "0\u00B7+1");
        row("line and paragraph separators", "0\u2028+1\u2029", "0\u00B7+1\u00B7");
        row("direction override", "\u202E1+0", "\u00B71+0");
        row("printable kept", "0+\u00B0C" + Face, "0+\u00B0C" + Face);
    }
    void oneLine() {
        QFETCH(QString, received);
        QTEST(OneLineText(received), "shown");
    }
};

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
