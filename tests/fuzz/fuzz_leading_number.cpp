// Numbers typed into the operator's boxes or read from a file: the leading
// number is a finite value whatever the text, blanks change nothing, the
// 32-bit conversions stay in range, and the number texts read back.
//
// The input is the text, as UTF-8.
#include "FuzzSupport.h"

#include "platform/Val.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double Least = std::numeric_limits<qint32>::min();
constexpr double Greatest = std::numeric_limits<qint32>::max();

void RequireWholeNumberConversions(double value) {
    const qint32 rounded = Val::RoundToInt32(value);
    if (value > Least && value < Greatest)
        FUZZ_REQUIRE(std::fabs(rounded - value) <= 0.5);
    else if (!std::isnan(value))
        FUZZ_REQUIRE(rounded == (value < 0 ? Least : Greatest));

    bool inRange = false;
    const qint32 floored = Val::FloorToInt32(value, &inRange);
    FUZZ_REQUIRE(inRange == (value >= Least && value < Greatest + 1));
    FUZZ_REQUIRE(inRange ? floored <= value && value < floored + 1.0 : floored == 0);
}

void RequireNumberTextReadsBack(double value) {
    const QString text = Val::NumberText(value);
    FUZZ_REQUIRE(value != 0 || text == QLatin1String("0"));
    const double readBack = Val::LeadingNumber(text);
    FUZZ_REQUIRE(std::fabs(readBack - value) <= 1e-14 * std::fabs(value) + 1e-300);
}

// A text the locale takes as a number holds a digit and is worth a finite value.
void RequireNumericMeansNumber(const QString& text, const QLocale& locale) {
    if (!Val::IsNumeric(text, locale))
        return;
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    FUZZ_REQUIRE(ok && std::isfinite(value));
    FUZZ_REQUIRE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzzing::Bytes(data, size));
    const double value = Val::LeadingNumber(text);
    FUZZ_REQUIRE(std::isfinite(value));
    const qsizetype middle = text.size() / 2;
    for (const char* blank : {" ", "\t", "\n"})
        FUZZ_REQUIRE(Val::LeadingNumber(QString(text).insert(middle, QLatin1String(blank))) ==
                     value);
    RequireWholeNumberConversions(value);
    RequireNumberTextReadsBack(value);
    RequireNumericMeansNumber(text, QLocale::c());
    static const QLocale commaDecimal(QLocale::German, QLocale::Germany);
    RequireNumericMeansNumber(text, commaDecimal);

    // Any value at all, NaN and infinities included, converts without fault.
    double raw = 0;
    if (size >= sizeof raw) {
        std::memcpy(&raw, data, sizeof raw);
        RequireWholeNumberConversions(raw);
        Val::NumberText(raw);
    }
    return 0;
}
