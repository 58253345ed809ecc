#include "measure/Crc16.h"
#include "sensors/IdentifyCommands.h"
#include "sensors/ParameterAnswer.h"

#include "measure/MeasurementMethod.h"

#include <QTest>

namespace {

QByteArray crcLine(const QByteArray& text) {
    return text + Sdi12Crc::Encode(Sdi12Crc::Compute(text)) + "\r\n";
}

} // namespace

// The reader of identify-parameter answers, and the commands that ask them.
class TestParameterAnswer : public QObject {
    Q_OBJECT
private slots:
    void reads_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("withCrc");
        // "name|unit|more;more" or "-" for the address alone; empty when faulty.
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("fault"); // a part of it

        QTest::newRow("name and unit") << QByteArray("0,TA,degC;\r\n") << false << "TA|degC|"
                                       << "";
        QTest::newRow("a blank unit") << QByteArray("0,ST, ;\r\n") << false << "ST||"
                                      << "";
        QTest::newRow("further fields") << QByteArray("0,PR,mm,precipitation rate per day;\r\n")
                                        << false << "PR|mm|precipitation rate per day"
                                        << "";
        QTest::newRow("the standard's CRC example")
            << QByteArray("0,CU,degrees C,average air temperature,calibration data,40,1235;@|e\r\n")
            << true << "CU|degrees C|average air temperature;calibration data;40;1235"
            << "";
        QTest::newRow("the address alone: past the last value")
            << QByteArray("0\r\n") << false << "-"
            << "";
        QTest::newRow("the address alone with its CRC") << crcLine("0") << true << "-"
                                                        << "";
        QTest::newRow("a comma always ends a field")
            << QByteArray("0,TA,deg,C;\r\n") << false << "TA|deg|C"
            << "";
        QTest::newRow("75 characters up to the ;")
            << QByteArray("0,TA,degC," + QByteArray(64, 'x') + ";\r\n") << false
            << "TA|degC|" + QString(64, 'x') << "";

        QTest::newRow("76 characters up to the ;")
            << QByteArray("0,TA,degC," + QByteArray(65, 'x') + ";\r\n") << false << ""
            << "longer than 75 characters";
        QTest::newRow("no ; at the end") << QByteArray("0,TA,degC\r\n") << false << ""
                                         << "not of the form a,name,unit;";
        QTest::newRow("text after the ;") << QByteArray("0,TA,degC;x\r\n") << false << ""
                                          << "not of the form";
        QTest::newRow("a ; inside a field") << QByteArray("0,T;A,degC;\r\n") << false << ""
                                            << "not of the form";
        QTest::newRow("no CR LF") << QByteArray("0,TA,degC;") << false << ""
                                  << "not of the form";
        QTest::newRow("no unit field") << QByteArray("0,TA;\r\n") << false << ""
                                       << "not of the form";
        QTest::newRow("no name") << QByteArray("0, ,degC;\r\n") << false << ""
                                 << "names no parameter";
        QTest::newRow("another address") << QByteArray("1,TA,degC;\r\n") << false << ""
                                         << "comes from address 1, not 0";
        QTest::newRow("a damaged character") << QByteArray("0,T\xC1,degC;\r\n") << false << ""
                                             << "0,T<c1>,degC;<CR><LF> is not of the form";
        QTest::newRow("a CRC that does not match")
            << QByteArray("0,CU,degrees C,average air temperature,calibration data,40,1235;@|f\r\n")
            << true << ""
            << "CRC mismatch";
        QTest::newRow("the CRC missing") << QByteArray("0,TA,degC;\r\n") << true << ""
                                         << "not of the form a,name,unit;crc";
        QTest::newRow("a CRC where none was asked for") << crcLine("0,TA,degC;") << false << ""
                                                        << "not of the form";
    }
    void reads() {
        QFETCH(QByteArray, answer);
        QFETCH(bool, withCrc);
        QFETCH(QString, fault);
        const AnswerReading<std::optional<ParameterInfo>> reading =
            ParameterAnswer::read(answer, QLatin1Char('0'), withCrc);
        QString parameter;
        if (reading.IsSound() && !reading.Content)
            parameter = "-";
        else if (reading.Content)
            parameter = reading.Content->Name + "|" + reading.Content->Unit + "|" +
                        reading.Content->More.join(';');
        QTEST(parameter, "parameter");
        QVERIFY2(reading.Fault.contains(fault), qPrintable(reading.Fault));
        QCOMPARE(reading.IsSound(), fault.isEmpty());
        QCOMPARE(reading.CrcMismatch, fault == "CRC mismatch");
    }

    void labels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("label");
        QTest::newRow("with its unit") << "TA"
                                       << "degC"
                                       << "TA (degC)";
        QTest::newRow("a unitless value: the name alone") << "ST"
                                                          << ""
                                                          << "ST";
    }
    void labels() {
        QFETCH(QString, name);
        QFETCH(QString, unit);
        QTEST((ParameterInfo{name, unit, {}}.label()), "label");
    }

    void commandsForEveryMethod_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("promise");
        QTest::addColumn<QString>("parameter");
        QTest::newRow("M") << "M" << 1 << "0IM!"
                           << "0IM_001!";
        QTest::newRow("MC") << "MC" << 2 << "0IMC!"
                            << "0IMC_002!";
        QTest::newRow("M1") << "M1" << 9 << "0IM1!"
                            << "0IM1_009!";
        QTest::newRow("MC9") << "MC9" << 10 << "0IMC9!"
                             << "0IMC9_010!";
        QTest::newRow("C") << "C" << 12 << "0IC!"
                           << "0IC_012!";
        QTest::newRow("CC") << "CC" << 99 << "0ICC!"
                            << "0ICC_099!";
        QTest::newRow("C5") << "C5" << 100 << "0IC5!"
                            << "0IC5_100!";
        QTest::newRow("CC2") << "CC2" << 999 << "0ICC2!"
                             << "0ICC2_999!";
        QTest::newRow("V") << "V" << 3 << "0IV!"
                           << "0IV_003!";
        QTest::newRow("R0: no identify-measurement command") << "R0" << 1 << ""
                                                             << "0IR0_001!";
        QTest::newRow("RC3") << "RC3" << 1 << ""
                             << "0IRC3_001!";
    }
    void commandsForEveryMethod() {
        QFETCH(QString, method);
        QFETCH(int, number);
        const MeasurementMethod measurement = *MeasurementMethod::FromName(method);
        QTEST(IdentifyCommands::promise(QLatin1Char('0'), measurement), "promise");
        QTEST(IdentifyCommands::parameter(QLatin1Char('0'), measurement, number), "parameter");
    }
};

QTEST_GUILESS_MAIN(TestParameterAnswer)
#include "tst_parameteranswer.moc"
