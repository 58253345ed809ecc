#include "platform/OneLineText.h"

QString OneLineText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n'))
            shown.append(QChar(0x21B5));
        else
            shown.append(c.unicode() < 0x20 ? QChar(0x00B7) : c);
    }
    return shown;
}
