#include "platform/LineSettings.h"
#include "platform/ParityMarks.h"
#include "platform/TerminalText.h"

#include <QtTest>

using Conditions = std::vector<MarkedCondition>;
Q_DECLARE_METATYPE(Conditions)

class SerialRulesTest : public QObject {
    Q_OBJECT
private slots:
    void decodesMarks_data() {
        QTest::addColumn<QByteArray>("marked");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Conditions>("conditions");
        const auto row = [](const char* name, QByteArray marked, QByteArray data, Conditions c) {
            QTest::newRow(name) << marked << data << c;
        };
        const auto bad = MarkedCondition::BadCharacter;
        row("bad byte kept", QByteArray("0\xFF\x00M!", 5), "0M!", {bad});
        row("doubled FF", "a\xFF\xFFz", "a\xFFz", {});
        row("break", QByteArray("x\xFF\x00\x00y", 5), "xy", {MarkedCondition::Break});
        row("bad FF, bad 01", QByteArray("\xFF\x00\xFF\xFF\x00\x01", 6), "\xFF\x01", {bad, bad});
    }

    // Every way of cutting the input into two reads gives the same result.
    void decodesMarks() {
        QFETCH(QByteArray, marked);
        QFETCH(Conditions, conditions);
        for (qsizetype cut = 0; cut <= marked.size(); ++cut) {
            ParityMarkDecoder decoder;
            DecodedInput first = decoder.decode(marked.left(cut));
            const DecodedInput rest = decoder.decode(marked.mid(cut));
            first.conditions.insert(first.conditions.end(), rest.conditions.begin(),
                                    rest.conditions.end());
            QTEST(first.data + rest.data, "data");
            QVERIFY2(first.conditions == conditions, qPrintable(QString::number(cut)));
        }
    }

    void parsesLineSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result"); // the settings as written back, or the refusal
        for (const char* entry :
             {"1200,E,7,1", "1200,E,7,2", "1200,N,8,1", "2400,N,8,1", "4800,N,8,1", "9600,N,8,1",
              "9600,E,7,1", "19200,N,8,1", "38400,N,8,1"})
            QTest::newRow(entry) << QString(entry) << QString(entry);
        for (const char* entry :
             {"1200,E,7,1", "1200,E,7,2", "1200,N,8,1", "2400,N,8,1", "4800,N,8,1", "9600,N,8,1",
              "9600,E,7,1", "19200,N,8,1", "38400,N,8,1"})
            QTest::newRow(entry) << entry << entry;
        const auto row = [](const char* text, const char* result) {
            QTest::newRow(text) << QString(text) << QString(result);
        };
        row(" 19200 , N , 8 , 1 ", "19200,N,8,1");
        row("115200,o,5,2", "115200,O,5,2");
        row("1200,E,9,1", "data bits must be 5 to 8");
        row("1200,E,7,1.5", "stop bits must be 1 or 2");
        row("1200,X,7,1", "parity must be E, O, N, M or S");
        row("-1200,E,7,1", "baud rate must be a positive whole number");
        row("1234,E,7,1", "baud rate 1234 is not one");
        row("1200,E,7", "four fields");
    }

    void parsesLineSettings() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        const LineSettingsParse parsed = parseLineSettings(text);
        QCOMPARE(parsed.ok ? parsed.format.toText() : parsed.refusal.left(result.size()), result);
    }

    void formatsTerminalText_data() {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF split") << QByteArrayList{"0+1\r", "\n2"} << "0+1\n2";
        QTest::newRow("lone CR, LF; LF CR") << QByteArrayList{"a\rb\nc\n\rd"} << "a\nb\nc\n\nd";
        QTest::newRow("controls") << QByteArrayList{QByteArray("\xFE!\t\x00\x7F", 5)}
                                  << "<FE>!\t<00><7F>";
    }

    void formatsTerminalText() {
        QFETCH(QByteArrayList, chunks);
        TerminalTextFormatter formatter;
        QString text;
        for (const QByteArray& chunk : chunks)
            text += formatter.format(chunk);
        QTEST(text, "shown");
    }
};

QTEST_GUILESS_MAIN(SerialRulesTest)
#include "tst_SerialRules.moc"
