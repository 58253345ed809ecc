#include "platform/OneLineText.h"

namespace {

bool isHiddenOrBreaking(QChar c) {
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

} // namespace

QString OneLineText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n'))
            shown.append(QChar(0x21B5));
        else
            shown.append(isHiddenOrBreaking(c) ? QChar(0x00B7) : c);
    }
    return shown;
}
