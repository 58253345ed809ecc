#include "StepScript.h"
#include "sensors/ScanSequence.h"

#include <QTest>

namespace {

const QString Identity = QStringLiteral("A:013QUENVRELPRBSIM100SIM0001\n");

// "0 found SIM0001", "1 absent", "2 unclear", with " (n retries)" where the
// address needed them and " !" where it carries a remark.
QString summary(const QList<ScanFinding>& findings) {
    QStringList lines;
    for (const ScanFinding& finding : findings) {
        QString line = finding.Address + QLatin1Char(' ');
        switch (finding.What) {
        case ScanFinding::Kind::Absent:
            line += QStringLiteral("absent");
            break;
        case ScanFinding::Kind::Unclear:
            line += QStringLiteral("unclear");
            break;
        case ScanFinding::Kind::Found:
            line += QStringLiteral("found");
            if (finding.Identity)
                line += QLatin1Char(' ') + finding.Identity->Rest;
            break;
        }
        if (finding.Retries > 0)
            line += QStringLiteral(" (%1 retries)").arg(finding.Retries);
        if (!finding.Remark.isEmpty())
            line += QStringLiteral(" !");
        lines << line;
    }
    return lines.join(QStringLiteral("; "));
}

} // namespace

// The scan's decisions for each address: what it sends, when it gives up,
// and what it finds.
class TestScanSequence : public QObject {
    Q_OBJECT
private slots:
    void addresses_data() {
        QTest::addColumn<QString>("addresses");
        QTest::addColumn<bool>("queryFirst");
        QTest::addColumn<bool>("retries");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("findings");

        QTest::newRow("found and identified")
            << "0" << false << true << QStringList{"A:0\n", Identity}
            << "send 0!|send 0I! (no break)|finish"
            << "0 found SIM0001";
        QTest::newRow("absent after one silent round")
            << "0" << false << true << QStringList{"T", "T", "T"} << triesOf("0!", 3) + "|finish"
            << "0 absent (2 retries)";
        QTest::newRow("found at the second try")
            << "0" << false << true << QStringList{"T", "A:0\n", Identity}
            << "send 0!|send 0! (no break)|send 0I! (no break)|finish"
            << "0 found SIM0001 (1 retries)";
        QTest::newRow("a garbled answer: someone is there, three rounds")
            << "0" << false << true << (QStringList{"A:~\n"} + QStringList(8, "T"))
            << triesOf("0!", 9) + "|finish"
            << "0 unclear (8 retries) !";
        QTest::newRow("garbled, then clear")
            << "0" << false << true << QStringList{"A:0~\n", "T", "T", "A:0\n", Identity}
            << triesOf("0!", 4) + "|send 0I! (no break)|finish"
            << "0 found SIM0001 (3 retries)";
        QTest::newRow("another address answers: unclear")
            << "0" << false << true << QStringList(9, "A:1\n") << triesOf("0!", 9) + "|finish"
            << "0 unclear (8 retries) !";
        QTest::newRow("parity errors: tried again")
            << "0" << false << true << QStringList{"E:0\n", "A:0\n", Identity}
            << "send 0!|send 0! (no break)|send 0I! (no break)|finish"
            << "0 found SIM0001 (1 retries)";
        QTest::newRow("an identification that cannot be read: found without it")
            << "0" << false << true << (QStringList{"A:0\n"} + QStringList(9, "A:0xx\n"))
            << "send 0!|" + triesOf("0I!", 9, true) + "|finish"
            << "0 found (8 retries) !";
        QTest::newRow("no answer to the identification: found without it")
            << "0" << false << true << (QStringList{"A:0\n"} + QStringList(9, "T"))
            << "send 0!|" + triesOf("0I!", 9, true) + "|finish"
            << "0 found (8 retries) !";
        QTest::newRow("another sensor's identification: not taken")
            << "0" << false << true
            << QStringList{"A:0\n", "A:113QUENVRELPRBSIM100SIM0002\n", Identity}
            << "send 0!|send 0I! (no break)|send 0I! (no break)|finish"
            << "0 found SIM0001 (1 retries)";
        QTest::newRow("each address in turn")
            << "01" << false << true << QStringList{"A:0\n", Identity, "T", "T", "T"}
            << "send 0!|send 0I! (no break)|" + triesOf("1!", 3) + "|finish"
            << "0 found SIM0001; 1 absent (2 retries)";
        QTest::newRow("retries off: one try each")
            << "01" << false << false << QStringList{"T", "A:1\n", "T"}
            << "send 0!|send 1!|send 1I!|finish"
            << "0 absent; 1 found !";

        QTest::newRow("?! first, answered by one sensor")
            << "0" << true << true << QStringList{"A:0\n", "A:0\n", Identity}
            << "send ?!|send 0!|send 0I! (no break)|finish"
            << "0 found SIM0001";
        QTest::newRow("?! unanswered: sent once")
            << "0" << true << true << QStringList{"T", "A:0\n", Identity}
            << "send ?!|send 0!|send 0I! (no break)|finish"
            << "0 found SIM0001";

        QTest::newRow("stopped: the address under way is not reported")
            << "01" << false << true << QStringList{"A:0\n", Identity, "A:1\n", "S"}
            << "send 0!|send 0I! (no break)|send 1!|send 1I! (no break)|finish"
            << "0 found SIM0001";
        QTest::newRow("cut short")
            << "01" << false << true << QStringList{"I", "T"} << "send 0!|finish|-"
            << "";
        QTest::newRow("not sent") << "01" << false << true << QStringList{"N"} << "send 0!|finish"
                                  << "";
    }
    void addresses() {
        QFETCH(QString, addresses);
        QFETCH(bool, queryFirst);
        QFETCH(bool, retries);
        QFETCH(QStringList, events);
        ScanSequence scan(addresses, queryFirst, RetrySettings{retries, 60});
        QTEST(playSteps(scan, events).join(QLatin1Char('|')), "steps");
        QVERIFY(scan.isOver());
        QTEST(summary(scan.findings()), "findings");
    }

    // "?!" garbled by a collision is a hint; a clean answer or none is not.
    void severalSensorsAnswerTheQuery_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("hint");
        QTest::newRow("a collision") << "A:~\n" << true;
        QTest::newRow("parity errors") << "E:0\n" << true;
        QTest::newRow("two lines") << "A:0\n3\n" << true;
        QTest::newRow("one sensor") << "A:3\n" << false;
        QTest::newRow("nobody") << "T" << false;
    }
    void severalSensorsAnswerTheQuery() {
        QFETCH(QString, answer);
        bool hinted = false;
        ScanSequence::Reports reports;
        reports.SeveralAnswerQuery = [&hinted] { hinted = true; };
        ScanSequence scan("0", true, RetrySettings{true, 60}, reports);
        playSteps(scan, {answer});
        QTEST(hinted, "hint");
    }

    // The driver hears of each address as it is probed and as it is done,
    // with the round trip of the "a!" that found it.
    void reportsEachAddress() {
        QStringList heard;
        ScanSequence::Reports reports;
        reports.Probing = [&heard](int position, int count, QChar address) {
            heard << QStringLiteral("probing %1 of %2: %3").arg(position).arg(count).arg(address);
        };
        reports.Finished = [&heard](const ScanFinding& finding) {
            heard
                << QStringLiteral("done %1 in %2 ms").arg(finding.Address).arg(finding.RoundTripMs);
        };
        ScanSequence scan("01", false, RetrySettings{true, 60}, reports);
        scan.Begin();
        scan.roundTripMeasured(95);
        scan.ExchangeEnded(ExchangeOutcome::Answered, "0\r\n");
        scan.roundTripMeasured(150);
        scan.ExchangeEnded(ExchangeOutcome::Answered, "013QUENVRELPRBSIM100SIM0001\r\n");
        for (int tries = 0; tries < 3; ++tries)
            scan.ExchangeEnded(ExchangeOutcome::TimedOut, QByteArray());
        QCOMPARE(heard, QStringList({"probing 1 of 2: 0", "done 0 in 95 ms", "probing 2 of 2: 1",
                                     "done 1 in -1 ms"}));
        QCOMPARE(scan.findings().first().Identity->Rest, "SIM0001");
        QVERIFY(scan.isOver() && !scan.stopped() && scan.fault().isEmpty());
    }

    void endsEarlyWithTheReason_data() {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("stopped") << "S"
                                 << "" << true;
        QTest::newRow("cut short") << "I"
                                   << "0! was cut short" << false;
        QTest::newRow("not sent") << "N"
                                  << "0! could not be sent: No such port" << false;
    }
    void endsEarlyWithTheReason() {
        QFETCH(QString, event);
        ScanSequence scan("01", false, RetrySettings{true, 60});
        playSteps(scan, {event});
        QTEST(scan.fault().section(QLatin1Char(':'), 0, event == "N" ? 1 : 0), "fault");
        QTEST(scan.stopped(), "stopped");
    }
};

QTEST_GUILESS_MAIN(TestScanSequence)
#include "tst_scansequence.moc"
