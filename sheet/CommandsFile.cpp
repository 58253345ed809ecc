#include "sheet/CommandsFile.h"

#include "platform/ProfileFile.h"
#include "platform/TextCuts.h"

#include <QDir>
#include <QFile>

namespace {

const QString NameKey = QStringLiteral("N");
const QString ValueKey = QStringLiteral("A");
// Describes the file, and is no setting.
const QString TitleSection = QStringLiteral("Title");

// The keys of one option cell (Mode, Type, Config, Gain) and where its code
// lies: the CodeLength characters just before the ";" that starts the chosen
// text in the list, when that ";" stands at LeastPosition (from 1) or later.
struct OptionKeys {
    QString TextKey;
    QString ListKey;
    int CodeLength;
    int LeastPosition;
};
const OptionKeys OptionKeyTable[4] = {
    {QStringLiteral("M"), QStringLiteral("ML"), 1, 4},
    {QStringLiteral("T"), QStringLiteral("TL"), 1, 4},
    {QStringLiteral("C"), QStringLiteral("CL"), 1, 4},
    {QStringLiteral("G"), QStringLiteral("GL"), 2, 5},
};

bool IsReadSection(const QString& section) {
    return section.startsWith(QLatin1String("XI")) || section.endsWith(QLatin1Char('?'));
}

// "" when the text is not in the list or stands too early to have a code.
// The first occurrence counts, also when it begins a longer entry's text. A
// surrogate pair that the code's length cuts in two is left out whole.
QString OptionCode(const QString& list, const QString& text, const OptionKeys& keys) {
    const qsizetype position = list.indexOf(QLatin1Char(';') + text) + 1;
    if (position < keys.LeastPosition)
        return QString();
    return TextCuts::WholeCharactersIn(list, position - 1 - keys.CodeLength, keys.CodeLength);
}

SheetRowModel RowFromSection(const ProfileFile& profile, const QString& section) {
    SheetRowModel row;
    row.Name = profile.Value(section, NameKey);
    row.Section = section;
    row.Command = section;
    if (IsReadSection(section)) {
        row.Action = QStringLiteral("READ");
        row.Send = QStringLiteral("<--");
        return row;
    }
    row.Action = QStringLiteral("WRITE");
    row.Send = QStringLiteral("-->");
    const QString value = profile.Value(section, ValueKey);
    if (!value.isEmpty()) {
        row.Value = value;
        row.ValueData = QStringLiteral("..."); // lets the Value cell be edited
        row.Command += value;                  // as stored: the sensor gets what the file holds
        return row;
    }
    for (int option = 0; option < 4; ++option) {
        const OptionKeys& keys = OptionKeyTable[option];
        row.OptionText[option] = profile.Value(section, keys.TextKey);
        row.OptionList[option] = profile.Value(section, keys.ListKey);
        row.Command += OptionCode(row.OptionList[option], row.OptionText[option], keys);
    }
    return row;
}

bool RemoveIfPresent(const QString& fileName, QString* error) {
    QFile file(fileName);
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = QStringLiteral("Could not delete \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(fileName), file.errorString());
    return false;
}

} // namespace

CommandsLoad LoadCommandsRows(const QString& fileName) {
    CommandsLoad load;
    const ProfileFile profile = ProfileFile::Load(fileName, &load.Error);
    QStringList heading;
    for (const QString& section : profile.SectionNames()) {
        if (section.isEmpty())
            continue; // "[]" names no setting, and the sections after it still count
        if (section == TitleSection) {
            heading.append(section);
            continue;
        }
        load.Rows.append(RowFromSection(profile, section));
    }
    load.Heading = profile.Excerpt(heading);
    return load;
}

bool SaveCommandsRows(const QString& fileName, const SheetRows& rows, const ProfileFile& heading,
                      QString* error) {
    if (rows.isEmpty() && heading.IsBlank())
        return RemoveIfPresent(fileName, error);
    ProfileFile profile = heading;
    for (const SheetRowModel& row : rows) {
        profile.SetValue(row.Section, NameKey, row.Name);
        if (row.IsRead())
            continue;
        if (!row.Value.isEmpty())
            profile.SetValue(row.Section, ValueKey, row.Value);
        for (int option = 0; option < 4; ++option) {
            if (row.OptionText[option].isEmpty())
                continue;
            profile.SetValue(row.Section, OptionKeyTable[option].TextKey, row.OptionText[option]);
            profile.SetValue(row.Section, OptionKeyTable[option].ListKey, row.OptionList[option]);
        }
    }
    return profile.Save(fileName, error);
}
