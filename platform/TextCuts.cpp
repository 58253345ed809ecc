#include "platform/TextCuts.h"

#include <algorithm>

bool TextCuts::IsCharacterBoundary(const QString& text, qsizetype position) {
    return position <= 0 || position >= text.size() || !text.at(position - 1).isHighSurrogate() ||
           !text.at(position).isLowSurrogate();
}

QString TextCuts::FirstCharacters(const QString& text, qsizetype count) {
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < count && end < text.size(); ++taken)
        end += IsCharacterBoundary(text, end + 1) ? 1 : 2;
    return text.left(end);
}

QString TextCuts::WholeCharactersIn(const QString& text, qsizetype position, qsizetype length) {
    qsizetype begin = std::clamp<qsizetype>(position, 0, text.size());
    qsizetype end = begin + std::clamp<qsizetype>(length, 0, text.size() - begin);
    if (!IsCharacterBoundary(text, begin))
        ++begin;
    if (!IsCharacterBoundary(text, end))
        --end;
    return end > begin ? text.mid(begin, end - begin) : QString();
}
