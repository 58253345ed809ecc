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
        row("doubled FF", "a\xFF\xFFz", "a\xFFz", {});
        row("break", QByteArray("x\xFF\0\0y", 5), "xy", {MarkedCondition::Break});
        row("bad bytes, one FF", QByteArray("0\xFF\0\xFF\xFF\0M!", 8), "0\xFFM!", {bad, bad});
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

    // The flags asked of the line for the settings, and the settings as
    // written back or the start of the refusal.
    void readsLineSettings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("cflag");
        QTest::addColumn<QString>("result");
        QTest::newRow("E") << "1200,E,7,1" << uint(CS7 | PARENB) << "1200,E,7,1";
        QTest::newRow("blanks, lower case, O, 2 stop bits")
            << " 1200 , o , 7 , 2 " << uint(CS7 | PARENB | PARODD | CSTOPB) << "1200,O,7,2";
        QTest::newRow("M") << "9600,M,8,1" << uint(CS8 | PARENB | PARODD | CMSPAR) << "9600,M,8,1";
        QTest::newRow("N, 6 bits") << "38400,N,6,1" << uint(CS6) << "38400,N,6,1";
        QTest::newRow("data bits") << "1200,E,9,1" << 0u << "data bits must be 5 to 8";
        QTest::newRow("parity") << "1200,X,7,1" << 0u << "parity must be E, O, N, M or S";
        QTest::newRow("odd baud") << "1234,E,7,1" << 0u << "baud rate 1234 is not one";
        QTest::newRow("three fields") << "1200,E,7" << 0u << "four fields";
    }
    void readsLineSettings() {
        QFETCH(QString, text);
        QFETCH(QString, result);
        const LineSettingsParse parsed = parseLineSettings(text);
        QCOMPARE(parsed.ok ? parsed.format.toText() : parsed.refusal.left(result.size()), result);
        if (!parsed.ok)
            return;
        termios attributes{}; // as an earlier format left it
        attributes.c_cflag = CS8 | PARODD | CSTOPB | CRTSCTS;
        attributes.c_iflag = IGNPAR | ISTRIP | IXON;
        applyLineFormat(attributes, parsed.format, 0);
        QTEST(uint(attributes.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS)),
              "cflag");
        QCOMPARE(attributes.c_iflag & (INPCK | PARMRK | IGNPAR | ISTRIP | IXON), INPCK | PARMRK);
    }

    // One formatter throughout: a CR LF split across chunks still ends one line.
    void formatsTerminalText() {
        TerminalTextFormatter formatter;
        QString text = formatter.format("0+1\r");
        QCOMPARE(text + formatter.format("\n2"), "0+1\n2");
        QCOMPARE(formatter.format("a\rb\nc\n\rd"), "a\nb\nc\n\nd");
        QCOMPARE(formatter.format(QByteArray("\xFE!\t\0\x7F", 5)), "<FE>!\t<00><7F>");
    }
};

QTEST_GUILESS_MAIN(SerialRulesTest)
#include "tst_SerialRules.moc"
