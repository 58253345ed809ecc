#include "link/Reception.h"
#include "sheet/Batch.h"
#include "sheet/RowExchange.h"

#include <QtTest>

namespace {

// Rows 1 to 5 (row 0 is the header). Each answer is 5 bytes ending in CR LF.
const QStringList Actions = {"Action", "WRITE", "READ", "WRITE", "WRITE", "READ"};

// The link's side, a reception state fed with arrivals and 10 ms ticks, and
// the sheet's side, the batch and the Result column.
struct Rig {
    ReceptionState reception;
    TickInput input;
    ExchangeId lastExchange = NoExchange;
    BatchWrite batch;
    RowExchange rowExchange;
    QStringList results = QStringList(Actions.size(), QString());
    QStringList sent;

    void tick() {
        const TickResult result = Reception::Tick(reception, input);
        if (result.Outcome == TickOutcome::Completed) {
            input.WaitingCount -= result.Bytes;
            input.WaitingEndsWithLineEnd = false;
            ended(result.Exchange, ExchangeOutcome::Answered);
        } else if (result.Outcome == TickOutcome::TimedOut) {
            ended(result.Exchange, ExchangeOutcome::TimedOut);
        }
    }
    void ended(ExchangeId exchange, ExchangeOutcome outcome) {
        if (const auto rowResult = rowExchange.Ended(exchange, outcome))
            results[rowResult->Row] = rowResult->Result;
        batch.ExchangeEnded(exchange, outcome, Actions.size() - 1);
    }
    // A batch tick whose row is sent (T), refused (N) or finds the port closed (C).
    void batchTick(QChar how) {
        const BatchWrite::TickAction action = batch.Tick(Actions);
        if (action.What != BatchWrite::TickAction::Kind::Send)
            return;
        if (how != 'T') {
            results[action.Row] = RowExchange::NotSentResult;
            batch.RowNotSent(how == 'C');
            return;
        }
        sent << QString::number(action.Row);
        Reception::Start(reception, ++lastExchange, input.NowSeconds);
        rowExchange.Sent(action.Row, lastExchange);
        batch.RowSent(lastExchange);
    }
};

} // namespace

// The batch write against the reception's decisions, without widgets.
class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void batch_data() {
        QTest::addColumn<bool>("wakeUp");
        // T, N, C: batch ticks (see Rig::batchTick). aK: K bytes arrive;
        // e: CR LF arrives; .: 10 ms and a reception tick; wN: N such ticks.
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("results");
        QTest::addColumn<bool>("running");
        const auto row = [](const char* name, bool wakeUp, const char* script, const char* sent,
                            const char* results, bool running) {
            QTest::newRow(name) << wakeUp << script << sent << results << running;
        };
        row("a late answer credits nobody", false, "T w11 T a3 e . . T a3 e . T a3 e . T", "1 3 4",
            ",TIMEOUT,,OK,OK,", false);
        row("a split answer credits nobody", false, "T a2 w11 e . T a3 e . T a3 e . T", "1 3 4",
            ",OK,,OK,OK,", false);
        row("a refused row: NOT SENT, goes on", false, "N T a3 e . T a3 e . T", "3 4",
            ",NOT SENT,,OK,OK,", false);
        row("a closed port ends the batch", false, "C T T", "", ",NOT SENT,,,,", false);
        row("wake-up waits for the 3 s time-out", true, "T w150 T w150 T w2 T w301 T w301 T",
            "1 3 4", ",TIMEOUT,,TIMEOUT,TIMEOUT,", false);
        row("a tick during the exchange sends nothing", false, "T T a3 T e . T", "1 3", ",OK,,,,",
            true);
    }
    void batch() {
        QFETCH(bool, wakeUp);
        QFETCH(QString, script);
        Rig rig;
        rig.input.WakeUpInUse = wakeUp;
        rig.input.NowTick = 1000000;
        rig.input.NowSeconds = 1000;
        rig.batch.Start();
        for (const QString& step : script.split(' ')) {
            const QChar kind = step.at(0);
            const int number = step.mid(1).toInt();
            if (kind == 'T' || kind == 'N' || kind == 'C') {
                rig.batchTick(kind);
            } else if (kind == 'a' || kind == 'e') {
                rig.input.WaitingCount += kind == 'e' ? 2 : number;
                rig.input.WaitingEndsWithLineEnd = kind == 'e';
                rig.tick(); // each arrival is looked at at once
            } else {
                for (int i = 0; i < (kind == 'w' ? number : 1); ++i) {
                    rig.input.NowTick += 10;
                    rig.input.NowSeconds += 0.01;
                    rig.tick();
                }
            }
        }
        QTEST(rig.sent.join(' '), "sent");
        QTEST(rig.results.join(','), "results");
        QTEST(rig.batch.Running(), "running");
    }
};

QTEST_APPLESS_MAIN(TestBatch)
#include "tst_batch.moc"
