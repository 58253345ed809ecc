#include "measure/RetryRule.h"

#include <QTest>

namespace {

// "B60": with the break, 60 ms for the first byte; "N60": without the
// break; "-": no more tries.
QString shown(const std::optional<SendOptions>& options) {
    if (!options)
        return QStringLiteral("-");
    return (options->Wake ? QStringLiteral("B") : QStringLiteral("N")) +
           QString::number(options->ResponseTimeoutMs);
}

RetryRule::Failure failureOf(QChar letter) {
    switch (letter.unicode()) {
    case 'I':
        return RetryRule::Failure::Invalid;
    case 'C':
        return RetryRule::Failure::CrcFailed;
    default:
        return RetryRule::Failure::NoAnswer;
    }
}

} // namespace

// Which failures are tried again, how (with or without the break, how long
// for the first byte) and how many times.
class TestRetryRule : public QObject {
    Q_OBJECT
private slots:
    void tries_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("silentRounds");
        QTest::addColumn<QString>("failures"); // S silence, I invalid, C CRC failure
        QTest::addColumn<QString>("tries");    // the first, then one after each failure
        QTest::addColumn<int>("retries");

        QTest::newRow("off: one try with the usual time-out") << false << 3 << "S"
                                                              << "B0 -" << 0;
        QTest::newRow("off: an invalid answer is not asked again") << false << 3 << "I"
                                                                   << "B0 -" << 0;
        QTest::newRow("silence: three rounds of three tries, each round with a break")
            << true << 3 << "SSSSSSSSS"
            << "B60 N60 N60 B60 N60 N60 B60 N60 N60 -" << 8;
        QTest::newRow("an answer ends the tries") << true << 3 << "S"
                                                  << "B60 N60" << 1;
        QTest::newRow("invalid answers: the same three rounds")
            << true << 3 << "IIIIIIIII"
            << "B60 N60 N60 B60 N60 N60 B60 N60 N60 -" << 8;
        QTest::newRow("silence after one silent round: given up") << true << 1 << "SSS"
                                                                  << "B60 N60 N60 -" << 2;
        QTest::newRow("anything heard: the full three rounds")
            << true << 1 << "SISSSSSSS"
            << "B60 N60 N60 B60 N60 N60 B60 N60 N60 -" << 8;
        QTest::newRow("heard late in the round: still the full rounds")
            << true << 1 << "SSISSS"
            << "B60 N60 N60 B60 N60 N60 B60" << 6;
        QTest::newRow("a CRC failure is asked again at once, three times")
            << true << 3 << "CCCC"
            << "B60 N60 N60 N60 -" << 3;
        QTest::newRow("CRC requests do not use up the round") << true << 3 << "CSS"
                                                              << "B60 N60 N60 N60" << 3;
    }
    void tries() {
        QFETCH(bool, enabled);
        QFETCH(int, silentRounds);
        QFETCH(QString, failures);
        RetryRule rule(RetrySettings{enabled, 60}, silentRounds);
        QStringList tries{shown(rule.firstTry())};
        for (const QChar failure : failures)
            tries << shown(rule.nextTry(failureOf(failure)));
        QTEST(tries.join(QLatin1Char(' ')), "tries");
        QTEST(rule.retries(), "retries");
    }

    // A sensor that has just answered is awake: the first try needs no
    // break, a new round still has one.
    void awakeSensorIsTriedWithoutABreak_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("tries");
        QTest::newRow("on") << true << "N60 N60 N60 B60";
        QTest::newRow("off: the break all the same") << false << "B0 -";
    }
    void awakeSensorIsTriedWithoutABreak() {
        QFETCH(bool, enabled);
        RetryRule rule(RetrySettings{enabled, 60});
        QStringList tries{shown(rule.firstTryWhileAwake())};
        for (int failure = 0; failure < (enabled ? 3 : 1); ++failure)
            tries << shown(rule.nextTry(RetryRule::Failure::NoAnswer));
        QTEST(tries.join(QLatin1Char(' ')), "tries");
    }

    void firstByteTimeoutIsTheSettings() {
        RetryRule rule(RetrySettings{true, 35});
        QCOMPARE(shown(rule.firstTry()), "B35");
        QCOMPARE(shown(rule.nextTry(RetryRule::Failure::NoAnswer)), "N35");
    }
};

QTEST_GUILESS_MAIN(TestRetryRule)
#include "tst_retryrule.moc"
