#include "measure/Crc16.h"
#include "measure/Identification.h"
#include "measure/MeasurementAnswers.h"
#include "measure/MeasurementMethod.h"

#include <QTest>

namespace {

// A data answer as a sensor sends it when asked for a CRC.
QByteArray withCrc(const QByteArray& line) {
    return line + Sdi12Crc::Encode(Sdi12Crc::Compute(line)) + "\r\n";
}

QString joined(const QList<MeasuredValue>& values) {
    QStringList texts;
    for (const MeasuredValue& value : values)
        texts << value.Text + QLatin1Char('=') + QString::number(value.Number, 'g', 10);
    return texts.join(QLatin1Char(' '));
}

} // namespace

class TestMeasureAnswers : public QObject {
    Q_OBJECT
private slots:
    void crcCheckValueAndEncoding();
    void promises_data();
    void promises();
    void valueLists_data();
    void valueLists();
    void dataAnswers_data();
    void dataAnswers();
    void identifications_data();
    void identifications();
    void methodNamesMakeTheirCommands();
};

void TestMeasureAnswers::crcCheckValueAndEncoding() {
    QCOMPARE(Sdi12Crc::Compute("123456789"), quint16(0xBB3D));
    QCOMPARE(Sdi12Crc::Encode(0xBB3D), QByteArray("Kl}")); // 0x4B 0x6C 0x7D
    for (const quint16 crc : {quint16(0), quint16(0xBB3D), quint16(0xFFFF)})
        QCOMPARE(Sdi12Crc::Decode(Sdi12Crc::Encode(crc)), crc);
    // Characters Encode never makes: too few, a digit, a first above four bits.
    for (const char* foreign : {"Kl", "K1O", "PlO"})
        QVERIFY2(!Sdi12Crc::Decode(foreign), foreign);
}

void TestMeasureAnswers::promises_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("countDigits");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("fault"); // a part of the fault; empty when sound
    QTest::newRow("M") << QByteArray("00023\r\n") << 1 << 2 << 3 << "";
    QTest::newRow("C, two digits") << QByteArray("000112\r\n") << 2 << 1 << 12 << "";
    QTest::newRow("service request in the same completion")
        << QByteArray("01205\r\n0\r\n") << 1 << 120 << 5 << "";
    QTest::newRow("other line after it")
        << QByteArray("00023\r\nx\r\n") << 1 << 0 << 0 << "not of the form atttn";
    QTest::newRow("M answer read as C")
        << QByteArray("00023\r\n") << 2 << 0 << 0 << "not of the form atttnn";
    QTest::newRow("no line end") << QByteArray("00023") << 1 << 0 << 0 << "not of the form";
    QTest::newRow("other address")
        << QByteArray("10023\r\n") << 1 << 0 << 0 << "from address 1, not 0";
    QTest::newRow("control byte shown")
        << QByteArray("0\x01\r\n") << 1 << 0 << 0 << "0<01><CR><LF>";
}

void TestMeasureAnswers::promises() {
    QFETCH(QByteArray, answer);
    QFETCH(int, countDigits);
    QFETCH(QString, fault);
    const auto reading = MeasurementAnswers::ReadPromise(answer, QLatin1Char('0'), countDigits);
    if (!fault.isEmpty()) {
        QVERIFY2(reading.Fault.contains(fault), qPrintable(reading.Fault));
        return;
    }
    QVERIFY2(reading.IsSound(), qPrintable(reading.Fault));
    QTEST(reading.Content.Seconds, "seconds");
    QTEST(reading.Content.Count, "count");
}

void TestMeasureAnswers::valueLists_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("values");
    QTest::newRow("three") << QByteArray("+21.37-0.12+7.91") << true
                           << "+21.37=21.37 -0.12=-0.12 +7.91=7.91";
    QTest::newRow("plus zero") << QByteArray("+0") << true << "+0=0";
    QTest::newRow("point first") << QByteArray("-.5") << true << "-.5=-0.5";
    QTest::newRow("seven digits") << QByteArray("+1234567-1.234567") << true
                                  << "+1234567=1234567 -1.234567=-1.234567";
    QTest::newRow("none") << QByteArray() << true << "";
    QTest::newRow("eight digits") << QByteArray("+12345678") << false << "";
    QTest::newRow("sign alone") << QByteArray("+1+") << false << "";
    QTest::newRow("point alone") << QByteArray("+.") << false << "";
    QTest::newRow("two points") << QByteArray("+1.2.3") << false << "";
    QTest::newRow("no sign") << QByteArray("21.5") << false << "";
    QTest::newRow("exponent") << QByteArray("+1e5") << false << "";
}

void TestMeasureAnswers::valueLists() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    const std::optional<QList<MeasuredValue>> values = MeasurementAnswers::SplitValues(text);
    QCOMPARE(values.has_value(), valid);
    if (values)
        QTEST(joined(*values), "values");
}

void TestMeasureAnswers::dataAnswers_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("crc");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("fault");
    QTest::newRow("plain") << QByteArray("0+1.5-2\r\n") << false << "+1.5=1.5 -2=-2"
                           << "";
    QTest::newRow("address alone") << QByteArray("0\r\n") << false << ""
                                   << "";
    QTest::newRow("with CRC") << withCrc("0+21.37+1013.2") << true << "+21.37=21.37 +1013.2=1013.2"
                              << "";
    QTest::newRow("CRC mismatch") << withCrc("0+21.37").replace("21", "22") << true << ""
                                  << "CRC mismatch";
    QTest::newRow("CRC missing") << QByteArray("0+21.37\r\n") << true << ""
                                 << "not an address followed by values and a CRC";
    QTest::newRow("CRC where none was asked") << withCrc("0+1") << false << ""
                                              << "not an address followed by values";
    QTest::newRow("other address") << withCrc("1+1") << true << ""
                                   << "from address 1, not 0";
    QTest::newRow("no line end") << QByteArray("0+1") << false << ""
                                 << "not an address";
}

void TestMeasureAnswers::dataAnswers() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, crc);
    QFETCH(QString, fault);
    const auto reading = MeasurementAnswers::ReadValues(answer, QLatin1Char('0'), crc);
    if (!fault.isEmpty()) {
        QVERIFY2(reading.Fault.contains(fault), qPrintable(reading.Fault));
        return;
    }
    QVERIFY2(reading.IsSound(), qPrintable(reading.Fault));
    QTEST(joined(reading.Content), "values");
}

void TestMeasureAnswers::identifications_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("fields"); // empty: not an identification
    QTest::newRow("no optional part") << QByteArray("014QUENVRELPRBSIM100\r\n")
                                      << QStringList{"0", "1.4", "QUENVREL", "PRBSIM", "100", ""};
    QTest::newRow("serial number, padded fields")
        << QByteArray("313ACME    TH1   2.1SN-0042\r\n")
        << QStringList{"3", "1.3", "ACME", "TH1", "2.1", "SN-0042"};
    QTest::newRow("one short") << QByteArray("014QUENVRELPRBSIM10\r\n") << QStringList();
    QTest::newRow("version not digits") << QByteArray("0x4QUENVRELPRBSIM100\r\n") << QStringList();
    QTest::newRow("no line end") << QByteArray("014QUENVRELPRBSIM100") << QStringList();
    QTest::newRow("control byte") << QByteArray("014QUENVREL\x01RBSIM100\r\n") << QStringList();
}

void TestMeasureAnswers::identifications() {
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, fields);
    const std::optional<Identification> decoded = Identification::Decode(answer);
    QCOMPARE(decoded.has_value(), !fields.isEmpty());
    if (!decoded)
        return;
    QCOMPARE((QStringList{decoded->Address, decoded->Sdi12Version, decoded->Vendor, decoded->Model,
                          decoded->SensorVersion, decoded->Rest}),
             fields);
}

void TestMeasureAnswers::methodNamesMakeTheirCommands() {
    const QStringList names = MeasurementMethod::AllNames();
    for (const char* expected : {"M", "MC", "M1", "MC9", "C", "CC", "C9", "CC1", "R0", "RC9", "V"})
        QVERIFY2(names.contains(QLatin1String(expected)), expected);
    for (const QString& name : names) {
        const std::optional<MeasurementMethod> method = MeasurementMethod::FromName(name);
        QVERIFY2(method, qPrintable(name));
        QCOMPARE(method->StartCommand(QLatin1Char('4')),
                 QLatin1Char('4') + name + QLatin1Char('!'));
    }
    QVERIFY(!MeasurementMethod::FromName(QStringLiteral("R")));
    QVERIFY(!MeasurementMethod::FromName(QStringLiteral("M0")));
    QCOMPARE(MeasurementMethod::FromName(QStringLiteral("CC2"))->CountDigits(), 2);
    QVERIFY(MeasurementMethod::FromName(QStringLiteral("RC3"))->WithCrc);
}

QTEST_GUILESS_MAIN(TestMeasureAnswers)
#include "tst_measureanswers.moc"
