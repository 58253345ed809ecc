#include "platform/Val.h"

#include <charconv>
#include <cmath>
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

// The value of an ASCII digit or of a letter A-F in either case; -1 for
// any other character.
int radixDigitValue(QChar c) {
    const char16_t code = c.unicode();
    if (code >= u'0' && code <= u'9')
        return code - u'0';
    if (code >= u'A' && code <= u'F')
        return code - u'A' + 10;
    if (code >= u'a' && code <= u'f')
        return code - u'a' + 10;
    return -1;
}

// "&H1F" and "&O17": whole numbers in base 16 or 8, after the prefix. Too
// many digits overflow, and read as 0 just as an overflowing decimal does.
double readRadixNumber(const QString& text, int base) {
    double value = 0;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const int digit = radixDigitValue(text.at(i));
        if (digit < 0 || digit >= base)
            break;
        value = value * base + digit;
    }
    return std::isfinite(value) ? value : 0;
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

    // Collect minus sign, digits, one decimal point and an exponent into
    // plain ASCII, then let from_chars do the arithmetic: unlike strtod it
    // follows no locale, so "." stays the decimal point under any LC_NUMERIC.
    std::string number;
    qsizetype i = 0;
    const qsizetype n = compact.size();
    if (n > 0 && (compact.at(0) == QLatin1Char('+') || compact.at(0) == QLatin1Char('-'))) {
        if (compact.at(0) == QLatin1Char('-'))
            number += '-'; // from_chars takes a minus sign but no plus sign
        i = 1;
    }
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
        qsizetype j = i + 1;
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
    double value = 0;
    const std::from_chars_result read =
        std::from_chars(number.data(), number.data() + number.size(), value);
    return read.ec == std::errc() && std::isfinite(value) ? value : 0;
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
    const double value = locale.toDouble(trimmed, &ok);
    return ok && std::isfinite(value);
}

QString Val::NumberText(double value) {
    if (value == 0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'g', 15);
}
