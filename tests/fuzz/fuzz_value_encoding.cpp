// A cell edit, as the operator or a commands file may give it, rewrites the
// row's command only in the form the sensor expects.
//
// The input is lines of text: the column number, the locale's name, the
// row's command, the picked option code, and then the edited text (which may
// span the remaining lines).
#include "FuzzSupport.h"

#include "sheet/SheetModel.h"
#include "sheet/ValueEncoding.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

struct CellEdit {
    int Column = SheetColumn::Value;
    QLocale Locale = QLocale::c();
    QString Command;
    QString PickedCode;
    QString Text;
};

CellEdit ParsedEdit(const QByteArray& input) {
    const QStringList lines = QString::fromUtf8(input).split(QLatin1Char('\n'));
    const auto line = [&lines](int i) { return i < lines.size() ? lines.at(i) : QString(); };
    CellEdit edit;
    edit.Column = line(0).toInt();
    edit.Locale = QLocale(line(1));
    edit.Command = line(2);
    edit.PickedCode = line(3);
    edit.Text = lines.mid(4).join(QLatin1Char('\n'));
    return edit;
}

bool IsDigits(const QString& text, qsizetype count) {
    return text.size() == count && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c >= QLatin1Char('0') && c <= QLatin1Char('9');
           });
}

qsizetype CharacterCount(const QString& text) {
    return text.toUcs4().size();
}

// Whole characters cut from the front of the edited text, at most limit.
void RequireLeadingCharacters(const QString& cut, const QString& text, qsizetype limit) {
    FUZZ_REQUIRE(text.startsWith(cut));
    FUZZ_REQUIRE(cut.isValidUtf16());
    FUZZ_REQUIRE(CharacterCount(cut) <= limit);
    FUZZ_REQUIRE(!cut.isEmpty() || text.isEmpty());
}

bool IsAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool ReadsAsFiniteNumber(const QString& text, const QLocale& locale) {
    bool read = false;
    const double value = locale.toDouble(text, &read);
    return read && std::isfinite(value);
}

// A number under the locale, or a plain one with its commas as points, goes
// out as typed with every "," as "." (or, where that is not ASCII, as the
// locale's number in plain digits) and stays in the cell; anything else
// gives "0" in both.
void RequireSentNumber(const QString& sent, const QString& cellText, const CellEdit& edit) {
    const QString typed = edit.Text.trimmed();
    const QString pointed = QString(typed).replace(QLatin1Char(','), QLatin1Char('.'));
    const bool underLocale = !typed.isEmpty() && ReadsAsFiniteNumber(typed, edit.Locale);
    if (!underLocale && !(!pointed.isEmpty() && ReadsAsFiniteNumber(pointed, QLocale::c()))) {
        FUZZ_REQUIRE(sent == QLatin1String("0") && cellText == QLatin1String("0"));
        return;
    }
    FUZZ_REQUIRE(cellText == typed);
    if (IsAscii(pointed)) {
        FUZZ_REQUIRE(sent == pointed);
        return;
    }
    static const QRegularExpression number(
        QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)(e[+-]?[0-9]+)?$"));
    FUZZ_REQUIRE(number.match(sent).hasMatch());
    const double value = underLocale ? edit.Locale.toDouble(typed) : QLocale::c().toDouble(pointed);
    FUZZ_REQUIRE(QLocale::c().toDouble(sent) == value);
}

// The command's first three characters, less half of a surrogate pair.
QString BaseCommand(const QString& command) {
    const QString base = command.left(3);
    return base.size() == 3 && base.back().isHighSurrogate() ? base.left(2) : base;
}

void RequireValueEdit(const CellEdit& edit, const EditResult& result) {
    const QString& command = edit.Command;
    if (command.startsWith(QLatin1String("XB"))) {
        FUZZ_REQUIRE(result.Command == QLatin1String("XB") + result.CellText);
        FUZZ_REQUIRE(IsDigits(result.CellText, 1));
    } else if (command.startsWith(QLatin1String("XW"))) {
        const QString digits = result.Command.mid(2);
        FUZZ_REQUIRE(result.Command.startsWith(QLatin1String("XW")) && IsDigits(digits, 3));
        FUZZ_REQUIRE(result.CellText == QString::number(digits.toInt()));
    } else if (command.startsWith(QLatin1String("XS"))) {
        FUZZ_REQUIRE(result.Command == QLatin1String("XS") + result.CellText);
        RequireLeadingCharacters(result.CellText, edit.Text, 8);
    } else if (command.startsWith(QLatin1String("X0A"))) {
        FUZZ_REQUIRE(result.Command == QLatin1String("X0A") + result.CellText);
        RequireLeadingCharacters(result.CellText, edit.Text, 1);
    } else {
        const QString base = BaseCommand(command);
        FUZZ_REQUIRE(result.Command.startsWith(base));
        RequireSentNumber(result.Command.mid(base.size()), result.CellText, edit);
    }
}

bool HasSurrogates(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
}

// An option code overwrites its own place in the command and nothing else,
// cut short only where it would split a surrogate pair.
void RequireOptionEdit(const CellEdit& edit, const EditResult& result) {
    const QString& command = edit.Command;
    const QString& code = edit.PickedCode;
    const qsizetype position = edit.Column;
    const qsizetype width = edit.Column == SheetColumn::Gain ? 2 : 1;
    FUZZ_REQUIRE(result.Command.size() == command.size() && result.Command.isValidUtf16());
    FUZZ_REQUIRE(result.Command.left(position) == command.left(position));
    FUZZ_REQUIRE(result.Command.mid(position + width) == command.mid(position + width));
    FUZZ_REQUIRE(result.CellText == edit.Text);

    const QString before = command.mid(position, width);
    const QString after = result.Command.mid(position, width);
    const auto writesCode = [&](qsizetype count) {
        return count <= code.size() && after == code.left(count) + before.mid(count);
    };
    if (!HasSurrogates(command) && !HasSurrogates(code)) {
        FUZZ_REQUIRE(writesCode(std::min(before.size(), code.size())));
        return;
    }
    bool written = false;
    for (qsizetype count = 0; count <= before.size(); ++count)
        written = written || writesCode(count);
    FUZZ_REQUIRE(written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CellEdit edit = ParsedEdit(fuzzing::Bytes(data, size));
    if (edit.Column != SheetColumn::Send && edit.Text.isEmpty())
        FUZZ_REQUIRE(EditKindFor(edit.Column, edit.Text) == EditKind::Refuse);

    const EditResult result =
        EncodeEdit(edit.Command, edit.Column, edit.Text, edit.PickedCode, edit.Locale);
    if (edit.Column == SheetColumn::Value) {
        RequireValueEdit(edit, result);
    } else if (edit.Column >= SheetColumn::Mode && edit.Column <= SheetColumn::Gain) {
        RequireOptionEdit(edit, result);
    } else {
        FUZZ_REQUIRE(result.Command == edit.Command && result.CellText == edit.Text);
    }
    return 0;
}
