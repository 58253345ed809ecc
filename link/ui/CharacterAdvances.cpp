#include "link/ui/CharacterAdvances.h"

#include <cmath>

CharacterAdvances::CharacterAdvances(const QFont& font) : m_metrics(font) {
    m_latin1.fill(-1);
}

int CharacterAdvances::Width(const QString& text) {
    qreal width = 0;
    for (const QChar character : text) {
        if (character.isSurrogate())
            return int(std::ceil(m_metrics.horizontalAdvance(text)));
        width += advance(character);
    }
    return int(std::ceil(width));
}

qreal CharacterAdvances::advance(QChar character) {
    const char16_t code = character.unicode();
    if (code < m_latin1.size()) {
        qreal& known = m_latin1[code];
        if (known < 0)
            known = m_metrics.horizontalAdvance(character);
        return known;
    }
    auto known = m_others.constFind(code);
    if (known == m_others.cend())
        known = m_others.insert(code, m_metrics.horizontalAdvance(character));
    return *known;
}
