#include "sheet/ValueEncoding.h"

#include "platform/Val.h"
#include "sheet/SheetModel.h"

#include <QStringList>

#include <algorithm>

namespace {

// The leading number rounded down, or 0 when it lies outside least..greatest
// (or outside the 32-bit range).
qint32 WholeValueWithin(const QString& text, qint32 least, qint32 greatest) {
    bool inRange = false;
    const qint32 value = Val::FloorToInt32(Val::LeadingNumber(text), &inRange);
    return inRange && value >= least && value <= greatest ? value : 0;
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
        const QString tag = editText.left(8);
        return {QLatin1String("XS") + tag, tag};
    }
    if (command.startsWith(QLatin1String("X0A"))) {
        const QString character = editText.left(1);
        return {QLatin1String("X0A") + character, character};
    }
    // The cell keeps the operator's decimal comma; the sensor wants a point.
    const QString number = Val::IsNumeric(editText, locale) ? editText : QStringLiteral("0");
    return {command.left(3) + QString(number).replace(QLatin1Char(','), QLatin1Char('.')), number};
}

// An option row's command is a four-character base command followed by the
// codes: Mode at index 4, Type 5, Config 6 (one character each) and Gain at
// 7-8, so each code starts at the index equal to its column. The command
// keeps its length: a code that does not fit is cut, one that cannot be
// placed at all changes nothing.
QString WithOptionCode(QString command, int column, const QString& code) {
    const qsizetype width = column == SheetColumn::Gain ? 2 : 1;
    const qsizetype position = column;
    const qsizetype count = std::min({width, code.size(), command.size() - position});
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
