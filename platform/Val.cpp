#include "platform/Val.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool isSkippedBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The text with the blanks that the reader skips taken out, so that the
// number can be read from consecutive characters.
QString withoutBlanks(const QString& text) {
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (!isSkippedBlank(c))
            compact.append(c);
    }
    return compact;
}

bool isDigitOfBase(QChar c, int base) {
    const int value = c.isDigit() ? c.digitValue()
                      : (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'))
                          ? c.toUpper().unicode() - 'A' + 10
                          : -1;
    return value >= 0 && value < base;
}

// "&H1F" and "&O17": whole numbers in base 16 or 8, after the prefix.
double readRadixNumber(const QString& text, int base) {
    double value = 0;
    for (int i = 2; i < text.size() && isDigitOfBase(text.at(i), base); ++i)
        value = value * base + QString(text.at(i)).toInt(nullptr, base);
    return value;
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double Val::LeadingNumber(const QString& text) {
    const QString compact = withoutBlanks(text);
    if (compact.size() >= 2 && compact.at(0) == QLatin1Char('&')) {
        const QChar radix = compact.at(1).toUpper();
        if (radix == QLatin1Char('H'))
            return readRadixNumber(compact, 16);
        if (radix == QLatin1Char('O'))
            return readRadixNumber(compact, 8);
        return 0;
    }

    // Collect sign, digits, one decimal point and an exponent into plain
    // ASCII, then let strtod do the arithmetic.
    std::string number;
    int i = 0;
    const int n = compact.size();
    if (i < n && (compact.at(i) == QLatin1Char('+') || compact.at(i) == QLatin1Char('-')))
        number += char(compact.at(i++).unicode());
    bool anyDigit = false;
    while (i < n && isAsciiDigit(compact.at(i))) {
        number += char(compact.at(i++).unicode());
        anyDigit = true;
    }
    if (i < n && compact.at(i) == QLatin1Char('.')) {
        number += '.';
        ++i;
        while (i < n && isAsciiDigit(compact.at(i))) {
            number += char(compact.at(i++).unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;
    if (i < n && (compact.at(i).toUpper() == QLatin1Char('E') ||
                  compact.at(i).toUpper() == QLatin1Char('D'))) {
        std::string exponent = "e";
        int j = i + 1;
        if (j < n && (compact.at(j) == QLatin1Char('+') || compact.at(j) == QLatin1Char('-')))
            exponent += char(compact.at(j++).unicode());
        bool exponentDigits = false;
        while (j < n && isAsciiDigit(compact.at(j))) {
            exponent += char(compact.at(j++).unicode());
            exponentDigits = true;
        }
        if (exponentDigits)
            number += exponent;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

qint32 Val::RoundToInt32(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (rounded >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (rounded <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(rounded);
}

qint32 Val::FloorToInt32(double value, bool* inRange) {
    const double floored = std::floor(value);
    const bool fits = std::isfinite(floored) &&
                      floored >= double(std::numeric_limits<qint32>::min()) &&
                      floored <= double(std::numeric_limits<qint32>::max());
    if (inRange)
        *inRange = fits;
    return fits ? qint32(floored) : 0;
}

bool Val::IsNumeric(const QString& text, const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    locale.toDouble(trimmed, &ok);
    return ok;
}

QString Val::NumberText(double value) {
    if (value == 0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'g', 15);
}
