#include "link/Reception.h"
#include "sheet/Batch.h"
#include "sheet/RowExchange.h"

#include <QtTest>

// The batch write against the reception's decisions, without widgets: answers
// split by pauses, late answers and rows that cannot be sent.
class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void batch_data();
    void batch();
};

namespace {

// A sheet of rows 1 to 5 (row 0 is the header): WRITE, READ, WRITE, WRITE,
// READ. Each answer is 5 bytes ending in CR LF.
const QStringList Actions = {"Action", "WRITE", "READ", "WRITE", "WRITE", "READ"};

// The link's side: a reception state fed with arrivals and 10 ms ticks, and
// the sheet's side: the batch and the Result column.
struct Rig {
    ReceptionState reception;
    TickInput input;
    ExchangeId lastExchange = NoExchange;
    BatchWrite batch;
    RowExchange rowExchange;
    QStringList results = QStringList(Actions.size(), QString());
    QStringList sent;
    bool wakeUp = false;

    void tick() {
        input.WakeUpInUse = wakeUp;
        const TickResult result = Reception::Tick(reception, input);
        if (result.Outcome == TickOutcome::Completed) {
            input.WaitingCount -= result.Bytes;
            input.WaitingEndsWithLineEnd = false;
            ended(result.Exchange, ExchangeOutcome::Answered);
        } else if (result.Outcome == TickOutcome::TimedOut) {
            ended(result.Exchange, ExchangeOutcome::TimedOut);
        }
    }
    void advance(int ms) {
        input.NowTick += ms;
        input.NowSeconds += ms / 1000.0;
    }
    void ended(ExchangeId exchange, ExchangeOutcome outcome) {
        if (const auto rowResult = rowExchange.Ended(exchange, outcome))
            results[rowResult->Row] = rowResult->Result;
        batch.ExchangeEnded(exchange, outcome, Actions.size() - 1);
    }
    // A batch tick; how says what becomes of a send: sent, refused, port closed.
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
    // Bytes arrive and are looked at at once.
    void arrive(int count, bool lineEnd) {
        input.WaitingCount += count;
        input.WaitingEndsWithLineEnd = lineEnd;
        tick();
    }
};

} // namespace

void TestBatch::batch_data() {
    QTest::addColumn<bool>("wakeUp");
    // T: a batch tick whose row goes out; N: one whose row is refused; C: one
    // that finds the port closed. aK: K bytes arrive; e: CR LF arrives;
    // .: 10 ms and a reception tick; wN: N such ticks.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("results");
    QTest::addColumn<bool>("running");
    const auto row = [](const char* name, bool wakeUp, const char* script, const char* sent,
                        const char* results, bool running) {
        QTest::newRow(name) << wakeUp << script << sent << results << running;
    };
    row("every answer paused for 3 ticks", false, "T a3 . . . e . T a3 . . . e . T a3 . . . e . T",
        "1 3 4", ",OK,,OK,OK,", false);
    row("a late answer after a time-out credits nobody", false,
        "T w11 T a3 e . . T a3 e . T a3 e . T", "1 3 4", ",TIMEOUT,,OK,OK,", false);
    row("the rest of an answer split over 100 ms credits nobody", false,
        "T a2 w11 e . T a3 e . T a3 e . T", "1 3 4", ",OK,,OK,OK,", false);
    row("a refused row reads NOT SENT and the batch goes on", false, "N T a3 e . T a3 e . T", "3 4",
        ",NOT SENT,,OK,OK,", false);
    row("a closed port ends the batch at once", false, "C T T", "", ",NOT SENT,,,,", false);
    row("with wake-up the tick waits for the 3 s time-out", true,
        "T w150 T w150 T w2 T w301 T w301 T", "1 3 4", ",TIMEOUT,,TIMEOUT,TIMEOUT,", false);
    row("a tick during the exchange sends nothing", false, "T T a3 T e . T", "1 3", ",OK,,,,",
        true);
}

void TestBatch::batch() {
    QFETCH(bool, wakeUp);
    QFETCH(QString, script);
    Rig rig;
    rig.wakeUp = wakeUp;
    rig.input.NowTick = 1000000;
    rig.input.NowSeconds = 1000;
    rig.batch.Start();
    for (const QString& step : script.split(' ')) {
        const QChar kind = step.at(0);
        const int number = step.mid(1).toInt();
        if (kind == 'T' || kind == 'N' || kind == 'C') {
            rig.batchTick(kind);
        } else if (kind == 'a') {
            rig.arrive(number, false);
        } else if (kind == 'e') {
            rig.arrive(2, true);
        } else {
            for (int i = 0; i < (kind == 'w' ? number : 1); ++i) {
                rig.advance(10);
                rig.tick();
            }
        }
    }
    QTEST(rig.sent.join(' '), "sent");
    QTEST(rig.results.join(','), "results");
    QTEST(rig.batch.Running(), "running");
}

QTEST_APPLESS_MAIN(TestBatch)
#include "tst_batch.moc"
