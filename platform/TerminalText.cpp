#include "platform/TerminalText.h"

QString TerminalTextFormatter::format(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const bool lineFeedOfPair = byte == '\n' && m_afterCarriageReturn;
        m_afterCarriageReturn = byte == '\r';
        if (lineFeedOfPair)
            continue;
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\r' || byte == '\n')
            text += QLatin1Char('\n');
        else if (byte == '\t' || (code >= 0x20 && code < 0x7F))
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("<%1>").arg(code, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}
