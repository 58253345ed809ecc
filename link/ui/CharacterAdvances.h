#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <array>

// The width of a line of text as the sum of its characters' advances, each
// character measured once: a line costs a lookup per character instead of a
// text layout. Kerning draws some pairs closer, so the sum may be a little
// wider than the drawn line, and is not narrower for Latin-1 text. Text with
// characters beyond one UTF-16 unit is measured whole.
class CharacterAdvances {
public:
    explicit CharacterAdvances(const QFont& font);

    int Width(const QString& text);

private:
    qreal advance(QChar character);

    QFontMetricsF m_metrics;
    std::array<qreal, 256> m_latin1; // negative until measured
    QHash<char16_t, qreal> m_others;
};
