// Bytes from the line, as the serial driver marks them, through the whole
// reception chain: the mark decoder, the reception tick's decisions and the
// traffic log's lines. Whatever arrives, every decoded byte completes once,
// in order, in pieces no larger than the bound; each exchange ends once; and
// every log line has its fixed shape.
//
// The input is a script. Its first byte sets how many line bytes arrive
// between two ticks (1 to 64); after that, 0xFA starts an exchange, 0xFB
// lets 100 ms pass, 0xFC switches wake-up characters on or off, 0xFD 0xFD
// and a byte make a flood (MaxAnswerBytes + 1 copies of that byte arriving
// between two ticks; one flood a script, the first), and every other byte
// arrives from the line.
//
// The flood stands for a script of 64 KiB: a committed input that long made
// the fuzzer try inputs as long, at a hundred a second. A flood still costs
// as much as a few dozen short scripts, so the mutator below keeps one only
// now and then, and the time goes to the interleavings of short scripts.
#include "FuzzSupport.h"

#include "link/Reception.h"
#include "link/TrafficLogFormat.h"
#include "platform/ParityMarks.h"

#include <QDateTime>

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint8_t FloodMark = 0xFD;

// Where the script's flood begins (its first 0xFD 0xFD followed by a byte),
// or size when it has none.
std::size_t FloodAt(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 1; i + 2 < size; ++i) {
        if (data[i] == FloodMark && data[i + 1] == FloodMark)
            return i;
    }
    return size;
}

struct Chain {
    ParityMarkDecoder decoder;
    ReceptionState state;
    TickInput input;
    QByteArray waiting;
    QByteArray completed;
    ExchangeId lastExchange = NoExchange;
    std::vector<bool> ended; // by exchange
    // In UTC, so that no input pays for a time-zone conversion.
    static inline const QDateTime when = QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9), Qt::UTC);

    void end(ExchangeId exchange) {
        if (exchange == NoExchange)
            return;
        FUZZ_REQUIRE(exchange <= lastExchange);
        ended.resize(std::size_t(lastExchange) + 1);
        FUZZ_REQUIRE(!ended[std::size_t(exchange)]);
        ended[std::size_t(exchange)] = true;
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
        FUZZ_REQUIRE(QByteArrayView(line).sliced(19, gap.size()) == gap);
        FUZZ_REQUIRE(line.indexOf("\r\n") == line.size() - 2);
        const QString hex = TrafficLogFormat::TranscriptLine2(answer);
        FUZZ_REQUIRE(hex.size() == 1 + 3 * answer.size() && hex.startsWith(QLatin1Char('-')));
        FUZZ_REQUIRE(QByteArray::fromHex(hex.toLatin1()) == answer); // the "-" is no digit
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
        arrived.truncate(0); // keeps its room for the next bytes
        chain.waiting += input.data;
        decoded += input.data;
        chain.tick(0); // arrivals are looked at at once
    };
    const std::size_t flood = FloodAt(data, size);
    for (std::size_t i = 1; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (i == flood) {
            i += 2;
            arrived.append(Reception::MaxAnswerBytes + 1, char(data[i]));
            deliver();
            chain.tick(10);
        } else if (byte == 0xFA) {
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

#ifdef PROBETERM_LIBFUZZER
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// libFuzzer's own mutations, except that a flood survives in one mutant out
// of FloodShare (in the others each flood mark becomes an exchange start),
// and that a mutant grows by GrowthLimit bytes at most: with a mutator of
// its own the fuzzer no longer keeps inputs short while they still find
// something new, and scripts of kilobytes found no more than short ones.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    constexpr unsigned int FloodShare = 32;
    constexpr std::size_t GrowthLimit = 16;
    size = LLVMFuzzerMutate(data, size, std::min(maxSize, size + GrowthLimit));
    if (seed % FloodShare == 0)
        return size;
    for (std::size_t flood = FloodAt(data, size); flood < size; flood = FloodAt(data, size))
        data[flood] = 0xFA;
    return size;
}
#endif
