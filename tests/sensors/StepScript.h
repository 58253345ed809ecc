#pragma once

#include "link/Conversation.h"
#include "measure/Crc16.h"

#include <QStringList>

// Plays a script of events on a conversation's steps and writes down every
// step they ask for. Events: "A:<answer>" answered ("\n" stands for CR LF,
// "~" for a byte a damaged line brings, 0xB0), "E:<answer>" answered with
// parity errors, "T" timed out, "I" interrupted, "N" not sent, "W" the
// wait elapsed, "S" Stop. Steps read "send <command>", with " (no break)"
// for a try without the break, "wait <ms>", "finish" and "-" for carrying
// on.
inline QStringList playSteps(ConversationSteps& steps, const QStringList& events) {
    QStringList asked;
    const auto note = [&asked](const ConversationStep& step) {
        switch (step.What) {
        case ConversationStep::Kind::Send:
            asked << QStringLiteral("send ") + step.Command +
                         (step.Options.Wake ? QString() : QStringLiteral(" (no break)"));
            break;
        case ConversationStep::Kind::Wait:
            asked << QStringLiteral("wait %1").arg(step.WaitMs);
            break;
        case ConversationStep::Kind::Finish:
            asked << QStringLiteral("finish");
            break;
        case ConversationStep::Kind::CarryOn:
            asked << QStringLiteral("-");
            break;
        }
    };
    note(steps.Begin());
    for (const QString& event : events) {
        const QByteArray text =
            event.mid(2).toLatin1().replace("\n", "\r\n").replace('~', char(0xB0));
        if (event.startsWith(QLatin1String("A:")))
            note(steps.ExchangeEnded(ExchangeOutcome::Answered, text));
        else if (event.startsWith(QLatin1String("E:")))
            note(steps.ExchangeEnded(ExchangeOutcome::Answered, text, true));
        else if (event == QLatin1String("T"))
            note(steps.ExchangeEnded(ExchangeOutcome::TimedOut, QByteArray()));
        else if (event == QLatin1String("I"))
            note(steps.ExchangeEnded(ExchangeOutcome::Interrupted, QByteArray()));
        else if (event == QLatin1String("N"))
            note(steps.NotSent(QStringLiteral("No such port")));
        else if (event == QLatin1String("W"))
            note(steps.WaitElapsed());
        else if (event == QLatin1String("S"))
            note(steps.Stop());
    }
    return asked;
}

// `count` tries of `command` under the retry rule: a break at the first of
// each round of three, but for the first try to a sensor that is awake,
// joined as playSteps writes them.
inline QString triesOf(const QString& command, int count, bool awake = false) {
    QStringList tries;
    for (int attempt = 0; attempt < count; ++attempt)
        tries << QStringLiteral("send ") + command +
                     (attempt % 3 == 0 && !(awake && attempt == 0) ? QString()
                                                                   : QStringLiteral(" (no break)"));
    return tries.join(QLatin1Char('|'));
}

// The answer line `text` with its CRC, as a script event.
inline QString withCrc(const char* text) {
    return QStringLiteral("A:") + QString::fromLatin1(text) +
           QString::fromLatin1(Sdi12Crc::Encode(Sdi12Crc::Compute(text))) + QStringLiteral("\n");
}
