// Bytes from the line, as the serial driver marks them, through the whole
// reception chain: the mark decoder, the reception tick's decisions and the
// traffic log's lines. Whatever arrives, every decoded byte completes once,
// in order, in pieces no larger than the bound; each exchange ends once; and
// every log line has its fixed shape.
//
// The input is a script. Its first byte sets how many line bytes arrive
// between two ticks (1 to 64); after that, 0xFA starts an exchange, 0xFB
// lets 100 ms pass, 0xFC switches wake-up characters on or off, and every
// other byte arrives from the line.
#include "FuzzSupport.h"

#include "link/Reception.h"
#include "link/TrafficLogFormat.h"
#include "platform/ParityMarks.h"

#include <QDateTime>

#include <set>

namespace {

struct Chain {
    ParityMarkDecoder decoder;
    ReceptionState state;
    TickInput input;
    QByteArray waiting;
    QByteArray completed;
    ExchangeId lastExchange = NoExchange;
    std::set<ExchangeId> ended;
    const QDateTime when = QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9));

    void end(ExchangeId exchange) {
        if (exchange == NoExchange)
            return;
        FUZZ_REQUIRE(exchange <= lastExchange);
        FUZZ_REQUIRE(ended.insert(exchange).second);
    }

    void tick(int ms) {
        input.NowTick += ms;
        input.NowSeconds += ms / 1000.0;
        input.WaitingCount = waiting.size();
        input.WaitingEndsWithLineEnd = waiting.endsWith("\r\n");
        const TickResult result = Reception::Tick(state, input);
        if (result.Outcome == TickOutcome::TimedOut)
            end(result.Exchange);
        if (result.Outcome != TickOutcome::Completed)
            return;
        FUZZ_REQUIRE(result.Bytes > 0 && result.Bytes <= waiting.size());
        FUZZ_REQUIRE(result.Bytes <= Reception::MaxAnswerBytes);
        FUZZ_REQUIRE(result.GapMs >= 0 && result.RoundTripMs >= 0);
        const QByteArray answer = waiting.left(result.Bytes);
        waiting.remove(0, result.Bytes);
        completed += answer;
        end(result.Exchange);
        checkLogLines(answer, result.GapMs);
    }

    void checkLogLines(const QByteArray& answer, qint64 gapMs) const {
        const QByteArray line = TrafficLogFormat::LogLine(when, gapMs, answer);
        const QByteArray gap = QByteArray::number(gapMs);
        FUZZ_REQUIRE(line.size() == 19 + gap.size() + 2 + 3 * answer.size() + 2);
        FUZZ_REQUIRE(line.mid(19, gap.size()) == gap);
        FUZZ_REQUIRE(line.endsWith("\r\n") && line.count("\r\n") == 1);
        const QString hex = TrafficLogFormat::TranscriptLine2(answer);
        FUZZ_REQUIRE(hex.size() == 1 + 3 * answer.size());
        FUZZ_REQUIRE(QByteArray::fromHex(hex.mid(1).toLatin1()) == answer);
        const QString text = TrafficLogFormat::TranscriptLine1(when, gapMs, answer);
        FUZZ_REQUIRE(text.endsWith(QLatin1Char('>')) && !text.contains(QChar(0)));
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int bytesPerTick = 1 + data[0] % 64;
    Chain chain;
    chain.input.NowTick = 1000;
    chain.input.NowSeconds = 1.0;
    QByteArray arrived; // raw line bytes since the last tick
    QByteArray decoded; // everything the decoder gave
    const auto deliver = [&] {
        const DecodedInput input = chain.decoder.decode(arrived);
        arrived.clear();
        chain.waiting += input.data;
        decoded += input.data;
        chain.tick(0); // arrivals are looked at at once
    };
    for (std::size_t i = 1; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (byte == 0xFA) {
            Reception::Start(chain.state, ++chain.lastExchange, chain.input.NowSeconds);
        } else if (byte == 0xFB) {
            for (int tick = 0; tick < 10; ++tick)
                chain.tick(10);
        } else if (byte == 0xFC) {
            chain.input.WakeUpInUse = !chain.input.WakeUpInUse;
        } else {
            arrived += char(byte);
            if (arrived.size() >= bytesPerTick) {
                deliver();
                chain.tick(10);
            }
        }
    }
    deliver();
    // Quiet from here on: everything waiting completes, every exchange ends.
    for (int tick = 0; tick < 400 && Reception::NeedsTicks(chain.state, chain.waiting.size());
         ++tick)
        chain.tick(10);
    FUZZ_REQUIRE(chain.waiting.isEmpty());
    FUZZ_REQUIRE(chain.completed == decoded);
    FUZZ_REQUIRE(!chain.state.InFlight());
    return 0;
}
