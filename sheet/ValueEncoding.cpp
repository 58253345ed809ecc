#include "sheet/ValueEncoding.h"

#include "platform/TextCuts.h"
#include "platform/Val.h"
#include "sheet/SheetModel.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

// The leading number rounded down, or 0 when it lies outside least..greatest
// (or outside the 32-bit range).
qint32 WholeValueWithin(const QString& text, qint32 least, qint32 greatest) {
    bool inRange = false;
    const qint32 value = Val::FloorToInt32(Val::LeadingNumber(text), &inRange);
    return inRange && value >= least && value <= greatest ? value : 0;
}

bool IsAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The operator's number as the sensor gets it: the spelling typed, with
// every "," sent as a decimal point, so that "1,5" goes out as 1.5 under
// any locale. A text is a number when the locale reads it (its decimal and
// group separators included) or when it reads as a plain number once its
// commas are points; "nan", "inf" and numbers too large for a double are
// none. Where the spelling is not plain ASCII (a locale's own minus sign or
// digits), the shortest plain spelling of the number goes instead.
std::optional<QString> SensorNumber(const QString& text, const QLocale& locale) {
    const QString typed = text.trimmed();
    const QString pointed = QString(typed).replace(QLatin1Char(','), QLatin1Char('.'));
    const bool localeReadsIt = Val::IsNumeric(typed, locale);
    if (!localeReadsIt && !Val::IsNumeric(pointed, QLocale::c()))
        return std::nullopt;
    if (IsAscii(pointed))
        return pointed;
    const double value = localeReadsIt ? locale.toDouble(typed) : QLocale::c().toDouble(pointed);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

EditResult EncodeValue(const QString& command, const QString& editText, const QLocale& locale) {
    if (command.startsWith(QLatin1String("XB"))) {
        const QString digit = QString::number(WholeValueWithin(editText, 0, 9));
        return {QLatin1String("XB") + digit, digit};
    }
    if (command.startsWith(QLatin1String("XW"))) {
        const qint32 value = WholeValueWithin(editText, 0, 999);
        return {QLatin1String("XW") + QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0')),
                QString::number(value)};
    }
    if (command.startsWith(QLatin1String("XS"))) {
        const QString tag = TextCuts::FirstCharacters(editText, 8);
        return {QLatin1String("XS") + tag, tag};
    }
    if (command.startsWith(QLatin1String("X0A"))) {
        const QString character = TextCuts::FirstCharacters(editText, 1);
        return {QLatin1String("X0A") + character, character};
    }
    // The cell keeps the operator's spelling; the sensor gets a point.
    const QString base = TextCuts::WholeCharactersIn(command, 0, 3);
    if (const std::optional<QString> sent = SensorNumber(editText, locale))
        return {base + *sent, editText.trimmed()};
    return {base + QLatin1Char('0'), QStringLiteral("0")};
}

// An option row's command is a four-character base command followed by the
// codes: Mode at index 4, Type 5, Config 6 (one character each) and Gain at
// 7-8, so each code starts at the index equal to its column. The command
// keeps its length: a code that does not fit is cut, one that cannot be
// placed at all changes nothing. Neither the code nor the command loses half
// of a surrogate pair: such a half is left out of the cut instead.
QString WithOptionCode(QString command, int column, const QString& code) {
    const qsizetype width = column == SheetColumn::Gain ? 2 : 1;
    const qsizetype position = column;
    qsizetype count = std::min({width, code.size(), command.size() - position});
    while (count > 0 && !(TextCuts::IsCharacterBoundary(code, count) &&
                          TextCuts::IsCharacterBoundary(command, position) &&
                          TextCuts::IsCharacterBoundary(command, position + count)))
        --count;
    if (count > 0)
        command.replace(position, count, code.left(count));
    return command;
}

} // namespace

EditKind EditKindFor(int column, const QString& cellData) {
    switch (column) {
    case SheetColumn::Value:
        return cellData.isEmpty() ? EditKind::Refuse : EditKind::PlainText;
    case SheetColumn::Mode:
    case SheetColumn::Type:
    case SheetColumn::Config:
    case SheetColumn::Gain:
        return cellData.isEmpty() ? EditKind::Refuse : EditKind::DropDown;
    case SheetColumn::Send:
        return EditKind::SendRow;
    default:
        return EditKind::Refuse;
    }
}

EditResult EncodeEdit(const QString& command, int column, const QString& editText,
                      const QString& pickedCode, const QLocale& locale) {
    if (column == SheetColumn::Value)
        return EncodeValue(command, editText, locale);
    if (column >= SheetColumn::Mode && column <= SheetColumn::Gain)
        return {WithOptionCode(command, column, pickedCode), editText};
    return {command, editText};
}
