#include "StepScript.h"
#include "sensors/AddressChangeSequence.h"
#include "sensors/BusSurvey.h"

#include <QTest>

namespace {

ScanFinding finding(QChar address, ScanFinding::Kind kind) {
    ScanFinding made;
    made.Address = address;
    made.What = kind;
    return made;
}

// A survey after a scan of 0-9 that found sensors at 0 and 3.
void scanOfZeroToNine(BusSurvey& survey) {
    survey.scanStarted(QStringLiteral("0123456789"));
    for (const QChar address : QStringLiteral("0123456789"))
        survey.addressScanned(finding(address, address == '0' || address == '3'
                                                   ? ScanFinding::Kind::Found
                                                   : ScanFinding::Kind::Absent));
}

QString addressesOf(const BusSurvey& survey) {
    QString addresses;
    for (const ScanFinding& sensor : survey.sensors())
        addresses += sensor.Address;
    return addresses;
}

} // namespace

// Changing the address 3 to 5: each step, each way a step fails, and the
// guard that keeps anything from being sent where it must not be.
class TestAddressChange : public QObject {
    Q_OBJECT
private slots:
    void steps_data() {
        QTest::addColumn<bool>("othersOnBus");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("report"); // a part of it
        QTest::addColumn<bool>("changed");

        const QString checkOld = triesOf("3!", 3);
        QTest::newRow("alone on the bus: changed")
            << false << QStringList{"A:3\n", "A:5\n", "W", "A:5\n", "T", "T", "T"}
            << "send ?!|send 3A5!|wait 1000|send 5!|" + checkOld + "|finish"
            << "Changed: the sensor at 3 now answers at 5" << true;
        QTest::newRow("others confirmed: ?! is not asked")
            << true << QStringList{"A:5\n", "W", "A:5\n", "T", "T", "T"}
            << "send 3A5!|wait 1000|send 5!|" + checkOld + "|finish"
            << "Changed: the sensor at 3 now answers at 5" << true;
        QTest::newRow("a lost answer to ?! is asked again")
            << false << QStringList{"T", "A:3\n", "A:5\n", "W", "A:5\n", "T", "T", "T"}
            << "send ?!|send ?! (no break)|send 3A5!|wait 1000|send 5!|" + checkOld + "|finish"
            << "Changed" << true;

        QTest::newRow("?! answered by another sensor: nothing more is sent")
            << false << QStringList{"A:0\n"} << "send ?!|finish"
            << "Not changed: \"?!\" was answered by 0, not by 3" << false;
        QTest::newRow("?! garbled: several sensors")
            << false << QStringList(9, "A:~\n") << triesOf("?!", 9) + "|finish"
            << "Not changed: several sensors answer \"?!\"" << false;
        QTest::newRow("?! unanswered")
            << false << QStringList(9, "T") << triesOf("?!", 9) + "|finish"
            << "Not changed: nothing answers \"?!\"" << false;
        QTest::newRow("the sensor refuses")
            << false << QStringList{"A:3\n", "A:3\n"} << "send ?!|send 3A5!|finish"
            << "Not changed: the sensor refused the address 5 (it answered 3A5! with 3)" << false;
        QTest::newRow("the answer to 3A5! lost: the check finds the sensor at 5")
            << false
            << (QStringList{"A:3\n"} + QStringList(9, "T") +
                QStringList{"W", "A:5\n", "T", "T", "T"})
            << "send ?!|" + triesOf("3A5!", 9) + "|wait 1000|send 5!|" + checkOld + "|finish"
            << "now answers at 5 (its answer to 3A5! was lost on the line)" << true;
        QTest::newRow("still at the old address")
            << false
            << (QStringList{"A:3\n", "A:5\n", "W"} + QStringList(9, "T") + QStringList{"A:3\n"})
            << "send ?!|send 3A5!|wait 1000|" + triesOf("5!", 9) + "|send 3!|finish"
            << "Not changed: the sensor answered 3A5! with 5, but still answers at 3 and not at 5"
            << false;
        QTest::newRow("answers nowhere")
            << false << (QStringList{"A:3\n", "A:5\n", "W"} + QStringList(12, "T"))
            << "send ?!|send 3A5!|wait 1000|" + triesOf("5!", 9) + "|" + checkOld + "|finish"
            << "Lost: after 3A5! neither 5 nor 3 answers" << false;
        QTest::newRow("both answer")
            << false << QStringList{"A:3\n", "A:5\n", "W", "A:5\n", "A:3\n"}
            << "send ?!|send 3A5!|wait 1000|send 5!|send 3!|finish"
            << "Unsure: after 3A5! both 5 and 3 answer" << false;

        QTest::newRow("stopped before the change") << false << QStringList{"S"} << "send ?!|finish"
                                                   << "Stopped: nothing was changed" << false;
        QTest::newRow("stopped while the sensor settles")
            << false << QStringList{"A:3\n", "A:5\n", "S", "W"}
            << "send ?!|send 3A5!|wait 1000|finish|-"
            << "Stopped before the check" << false;
        QTest::newRow("?! not sent") << false << QStringList{"N"} << "send ?!|finish"
                                     << "Not changed: ?! could not be sent: No such port" << false;
        QTest::newRow("the check cut short") << false << QStringList{"A:3\n", "A:5\n", "W", "I"}
                                             << "send ?!|send 3A5!|wait 1000|send 5!|finish"
                                             << "Unsure: 5! was cut short" << false;
    }
    void steps() {
        QFETCH(bool, othersOnBus);
        QFETCH(QStringList, events);
        QFETCH(QString, report);
        AddressChangeSequence change('3', '5', othersOnBus, RetrySettings{true, 60});
        QTEST(playSteps(change, events).join(QLatin1Char('|')), "steps");
        QVERIFY(change.isOver());
        QVERIFY2(change.outcome().Report.contains(report), qPrintable(change.outcome().Report));
        QTEST(change.outcome().Changed, "changed");
    }

    // Nothing may be sent unless the last scan found the new address free.
    void guard_data() {
        QTest::addColumn<bool>("scanned");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("refusal"); // a part of it; empty when the change may go
        QTest::newRow("no scan yet") << false << "5"
                                     << "No scan yet";
        QTest::newRow("a free address") << true << "5"
                                        << "";
        QTest::newRow("the same address") << true << "3"
                                          << "already has the address 3";
        QTest::newRow("a taken address") << true << "0"
                                         << "The address 0 is taken";
        QTest::newRow("an address the scan did not look at") << true << "A"
                                                             << "did not look at A";
        QTest::newRow("not an address") << true << "?"
                                        << "not an SDI-12 address";
    }
    void guard() {
        QFETCH(bool, scanned);
        QFETCH(QString, to);
        QFETCH(QString, refusal);
        BusSurvey survey;
        if (scanned)
            scanOfZeroToNine(survey);
        const QString said = survey.refusalToChange('3', to.at(0));
        QVERIFY2(refusal.isEmpty() ? said.isEmpty() : said.contains(refusal), qPrintable(said));
    }

    // The survey follows each outcome: a moved sensor takes its row along,
    // and the freed and taken addresses change places.
    void surveyFollowsTheChange_data() {
        QTest::addColumn<bool>("newAnswers");
        QTest::addColumn<bool>("oldAnswers");
        QTest::addColumn<QString>("sensors");
        QTest::addColumn<QString>("free");
        QTest::newRow("moved") << true << false << "05"
                               << "12346789";
        QTest::newRow("both answer") << true << true << "035"
                                     << "1246789";
        QTest::newRow("not moved") << false << true << "03"
                                   << "12456789";
        QTest::newRow("answers nowhere: kept, with the report") << false << false << "03"
                                                                << "12456789";
    }
    void surveyFollowsTheChange() {
        QFETCH(bool, newAnswers);
        QFETCH(bool, oldAnswers);
        BusSurvey survey;
        scanOfZeroToNine(survey);
        AddressChangeOutcome outcome;
        outcome.Checked = true;
        outcome.NewAnswers = newAnswers;
        outcome.OldAnswers = oldAnswers;
        outcome.Changed = newAnswers && !oldAnswers;
        outcome.Report = QStringLiteral("what the check found");
        survey.addressChanged('3', '5', outcome);
        QTEST(addressesOf(survey), "sensors");
        QTEST(survey.freeAddresses(), "free");
        if (!newAnswers && !oldAnswers)
            QCOMPARE(survey.sensors().at(1).Remark, outcome.Report);
    }

    void surveyKeepsWhatTheScanFound() {
        BusSurvey survey;
        scanOfZeroToNine(survey);
        ScanFinding unclear = finding('7', ScanFinding::Kind::Unclear);
        unclear.Remark = QStringLiteral("something answers at 7, but never clearly");
        survey.addressScanned(unclear);
        QCOMPARE(addressesOf(survey), "037");
        QCOMPARE(survey.freeAddresses(), "1245689");
        QCOMPARE(survey.data(survey.index(2, BusSurvey::AddressColumn), Qt::ToolTipRole).toString(),
                 unclear.Remark);
        survey.scanStarted(QStringLiteral("0123456789"));
        QCOMPARE(survey.rowCount(), 0);
        QCOMPARE(survey.freeAddresses(), "");
        QVERIFY(survey.hasScan());
    }
};

QTEST_GUILESS_MAIN(TestAddressChange)
#include "tst_addresschange.moc"
