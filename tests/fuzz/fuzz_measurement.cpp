// Answers from the line through a whole measurement: the readers of the
// start answer, the values, the CRC and the identification, and the
// sequence that acts on them. Whatever the sensor says, the sequence ends,
// never asks for more than the last data command, keeps no more values than
// it was promised unless it names a fault, and a complete measurement holds
// exactly the promised values.
//
// The input is a script. Its first byte picks the method; after that, the
// bytes up to each 0xFF are one answer to the command in flight, 0xFE lets
// the wait elapse, 0xFD ends an exchange without an answer, 0xFC is a line
// outside any exchange (the bytes before it) and 0xFB presses Stop.
#include "FuzzSupport.h"

#include "measure/Crc16.h"
#include "measure/Identification.h"
#include "measure/MeasurementAnswers.h"
#include "measure/MeasurementSequence.h"

namespace {

void readAlone(const QByteArray& bytes) {
    for (const int digits : {1, 2}) {
        const auto promise = MeasurementAnswers::ReadPromise(bytes, QLatin1Char('0'), digits);
        FUZZ_REQUIRE(promise.IsSound() || promise.Content.Count == 0);
    }
    for (const bool crc : {false, true}) {
        const auto values = MeasurementAnswers::ReadValues(bytes, QLatin1Char('0'), crc);
        FUZZ_REQUIRE(values.IsSound() || values.Content.isEmpty());
    }
    if (const std::optional<quint16> crc = Sdi12Crc::Decode(bytes.left(3)))
        FUZZ_REQUIRE(Sdi12Crc::Encode(*crc) == bytes.left(3));
    if (const std::optional<Identification> identification = Identification::Decode(bytes))
        FUZZ_REQUIRE(identification->Sdi12Version.size() == 3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray script = fuzzing::Bytes(data, size);
    readAlone(script);
    if (script.isEmpty())
        return 0;
    const QStringList methods = MeasurementMethod::AllNames();
    const MeasurementMethod method =
        *MeasurementMethod::FromName(methods.at(quint8(script[0]) % methods.size()));
    MeasurementSequence sequence(QLatin1Char('0'), method);

    int dataCommands = 0;
    const auto follow = [&](const MeasurementStep& step) {
        if (step.What == MeasurementStep::Kind::Send && step.Command.contains(QLatin1Char('D'))) {
            ++dataCommands;
            FUZZ_REQUIRE(dataCommands <= MeasurementSequence::LastDataCommand + 1);
        }
        FUZZ_REQUIRE(step.What != MeasurementStep::Kind::Wait || step.WaitMs >= 0);
    };
    follow(sequence.Begin());
    QByteArray answer;
    for (qsizetype at = 1; at < script.size(); ++at) {
        const quint8 byte = quint8(script[at]);
        if (byte == 0xFF)
            follow(sequence.ExchangeEnded(ExchangeOutcome::Answered, answer));
        else if (byte == 0xFE)
            follow(sequence.WaitElapsed());
        else if (byte == 0xFD)
            follow(sequence.ExchangeEnded(ExchangeOutcome::TimedOut, QByteArray()));
        else if (byte == 0xFC)
            follow(sequence.LineReceived(answer));
        else if (byte == 0xFB)
            follow(sequence.Stop());
        else {
            answer.append(char(byte));
            continue;
        }
        answer.clear();
    }
    follow(sequence.Stop());
    FUZZ_REQUIRE(sequence.IsOver());
    const MeasurementOutcome& outcome = sequence.Outcome();
    if (outcome.IsComplete())
        FUZZ_REQUIRE(outcome.Values.size() == outcome.Promised && outcome.Promised > 0);
    return 0;
}
