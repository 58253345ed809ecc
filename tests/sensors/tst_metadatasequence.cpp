#include "StepScript.h"
#include "sensors/MetadataSequence.h"

#include <QTest>

// Reading a method's names and units: what is asked, in which order, how
// far, and what is kept when the sensor knows nothing or fails.
class TestMetadataSequence : public QObject {
    Q_OBJECT
private slots:
    void reads_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("labels");
        QTest::addColumn<QString>("fault"); // a part of it; empty when the reading ended well

        QTest::newRow("three values of M")
            << "M"
            << QStringList{"A:00013\n", "A:0,TA,degC,air temperature;\n", "A:0,PA,hPa;\n",
                           "A:0,VB,V;\n"}
            << "send 0IM!|send 0IM_001! (no break)|send 0IM_002! (no break)|send 0IM_003! (no "
               "break)|finish"
            << "TA (degC)|PA (hPa)|VB (V)"
            << "";
        QTest::newRow("the CRC forms carry a CRC")
            << "MC" << QStringList{"A:00012\n", withCrc("0,TA,degC;"), withCrc("0,PA,hPa;")}
            << "send 0IMC!|send 0IMC_001! (no break)|send 0IMC_002! (no break)|finish"
            << "TA (degC)|PA (hPa)"
            << "";
        QTest::newRow("a CRC that does not match is asked again")
            << "CC"
            << QStringList{"A:000101\n", withCrc("0,TA,degC;").replace("degC", "degF"),
                           withCrc("0,TA,degC;")}
            << "send 0ICC!|send 0ICC_001! (no break)|send 0ICC_001! (no break)|finish"
            << "TA (degC)"
            << "";
        QTest::newRow("a concurrent method counts in two digits")
            << "C" << QStringList{"A:000101\n", "A:0,XR,%;\n"}
            << "send 0IC!|send 0IC_001! (no break)|finish"
            << "XR (%)"
            << "";
        QTest::newRow("a unitless value")
            << "V" << QStringList{"A:00011\n", "A:0,ST, ,self-test;\n"}
            << "send 0IV!|send 0IV_001! (no break)|finish"
            << "ST"
            << "";
        QTest::newRow("a continuous method: asked until the address alone")
            << "R0" << QStringList{"A:0,TA,degC;\n", "A:0,PA,hPa;\n", "A:0\n"}
            << "send 0IR0_001!|send 0IR0_002! (no break)|send 0IR0_003! (no break)|finish"
            << "TA (degC)|PA (hPa)"
            << "";
        QTest::newRow("no values promised")
            << "M4" << QStringList{"A:00000\n"} << "send 0IM4!|finish"
            << ""
            << "";
        QTest::newRow("the sensor stops describing early")
            << "M" << QStringList{"A:00013\n", "A:0,TA,degC;\n", "A:0\n"}
            << "send 0IM!|send 0IM_001! (no break)|send 0IM_002! (no break)|finish"
            << "TA (degC)"
            << "";
        QTest::newRow("a sensor that knows none: the address alone")
            << "M" << QStringList{"A:00013\n", "A:0\n"}
            << "send 0IM!|send 0IM_001! (no break)|finish"
            << ""
            << "";
        QTest::newRow("a lost answer is asked again")
            << "M" << QStringList{"A:00011\n", "T", "A:0,TA,degC;\n"}
            << "send 0IM!|send 0IM_001! (no break)|send 0IM_001! (no break)|finish"
            << "TA (degC)"
            << "";

        QTest::newRow("a sensor without metadata: no answer")
            << "M" << QStringList(9, "T") << triesOf("0IM!", 9) + "|finish"
            << ""
            << "no answer to 0IM!";
        QTest::newRow("an answer that never reads: what came is kept")
            << "M" << (QStringList{"A:00012\n", "A:0,TA,degC;\n"} + QStringList(9, "A:0,PA\n"))
            << "send 0IM!|send 0IM_001! (no break)|" + triesOf("0IM_002!", 9, true) + "|finish"
            << "TA (degC)"
            << "0IM_002!: the answer 0,PA<CR><LF> is not of the form a,name,unit;";
        QTest::newRow("stopped") << "M" << QStringList{"A:00012\n", "S"}
                                 << "send 0IM!|send 0IM_001! (no break)|finish"
                                 << ""
                                 << "Stopped";
        QTest::newRow("cut short") << "M" << QStringList{"I"} << "send 0IM!|finish"
                                   << ""
                                   << "0IM! was cut short";
    }
    void reads() {
        QFETCH(QString, method);
        QFETCH(QStringList, events);
        QFETCH(QString, fault);
        MetadataSequence reading('0', *MeasurementMethod::FromName(method),
                                 RetrySettings{true, 60});
        QTEST(playSteps(reading, events).join(QLatin1Char('|')), "steps");
        QVERIFY(reading.isOver());
        QStringList labels;
        for (const ParameterInfo& parameter : reading.metadata().Parameters)
            labels << parameter.label();
        QTEST(labels.join(QLatin1Char('|')), "labels");
        QVERIFY2(fault.isEmpty() ? reading.metadata().IsComplete()
                                 : reading.metadata().Fault.contains(fault),
                 qPrintable(reading.metadata().Fault));
    }

    // A continuous method's parameters are asked for no further than that.
    void unpromisedParametersStop() {
        MetadataSequence reading('0', *MeasurementMethod::FromName("R1"), RetrySettings{});
        QStringList answers(MetadataSequence::MostUnpromised + 1, "A:0,TW,degC;\n");
        const QStringList steps = playSteps(reading, answers);
        QCOMPARE(steps.at(MetadataSequence::MostUnpromised - 1), "send 0IR1_099!");
        QCOMPARE(steps.at(MetadataSequence::MostUnpromised), "finish");
        QCOMPARE(reading.metadata().Parameters.size(), MetadataSequence::MostUnpromised);
    }
};

QTEST_GUILESS_MAIN(TestMetadataSequence)
#include "tst_metadatasequence.moc"
