// Answers from the line through a whole reading of names and units: the
// reader of identify-parameter answers, with and without a CRC, and the
// sequence that acts on them. Whatever the sensor says, a name read holds
// no "," or ";", an answer read is at most 75 characters up to its ";", the
// sequence ends, never asks past the count it was promised (or 99 where
// none is promised), and keeps no more parameters than that.
//
// The input is a script. Its first byte picks the method; after that, the
// bytes up to each 0xFF are one answer to the command in flight, 0xFE the
// same with parity errors, 0xFD ends an exchange without an answer and
// 0xFB presses Stop.
#include "FuzzSupport.h"

#include "measure/MeasurementMethod.h"
#include "sensors/MetadataSequence.h"
#include "sensors/ParameterAnswer.h"

namespace {

bool holdsSeparator(const QString& field) {
    return field.contains(QLatin1Char(',')) || field.contains(QLatin1Char(';'));
}

void readAlone(const QByteArray& bytes) {
    for (const bool withCrc : {false, true}) {
        const auto reading = ParameterAnswer::read(bytes, QLatin1Char('0'), withCrc);
        FUZZ_REQUIRE(reading.IsSound() || !reading.Content);
        FUZZ_REQUIRE(!reading.CrcMismatch || !reading.IsSound());
        if (!reading.Content)
            continue;
        const ParameterInfo& parameter = *reading.Content;
        FUZZ_REQUIRE(!parameter.Name.isEmpty() && !holdsSeparator(parameter.Name));
        FUZZ_REQUIRE(!holdsSeparator(parameter.Unit));
        for (const QString& field : parameter.More)
            FUZZ_REQUIRE(!holdsSeparator(field));
        FUZZ_REQUIRE(bytes.indexOf(';') < ParameterAnswer::MaxLength);
        FUZZ_REQUIRE(parameter.label().startsWith(parameter.Name));
    }
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
    MetadataSequence reading(QLatin1Char('0'), method, RetrySettings{true, 60});

    int highestAsked = 0;
    const auto follow = [&](const ConversationStep& step) {
        FUZZ_REQUIRE(step.What != ConversationStep::Kind::Wait);
        const qsizetype number = step.Command.indexOf(QLatin1Char('_'));
        if (step.What == ConversationStep::Kind::Send && number >= 0)
            highestAsked = std::max(highestAsked, step.Command.mid(number + 1, 3).toInt());
    };
    follow(reading.Begin());
    QByteArray answer;
    for (qsizetype at = 1; at < script.size(); ++at) {
        const quint8 byte = quint8(script[at]);
        if (byte == 0xFF || byte == 0xFE)
            follow(reading.ExchangeEnded(ExchangeOutcome::Answered, answer, byte == 0xFE));
        else if (byte == 0xFD)
            follow(reading.ExchangeEnded(ExchangeOutcome::TimedOut, QByteArray()));
        else if (byte == 0xFB)
            follow(reading.Stop());
        else {
            answer.append(char(byte));
            continue;
        }
        answer.clear();
    }
    follow(reading.Stop());
    FUZZ_REQUIRE(reading.isOver());
    const MethodMetadata& metadata = reading.metadata();
    const int last = metadata.Promised >= 0 ? metadata.Promised : MetadataSequence::MostUnpromised;
    FUZZ_REQUIRE(highestAsked <= last);
    FUZZ_REQUIRE(metadata.Parameters.size() <= last);
    return 0;
}
