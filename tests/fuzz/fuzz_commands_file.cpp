// A commands file from anywhere loads, saves and loads again to the same
// rows and the same heading (its opening lines and Title section). The one
// loss saving allows: an option's list is kept only with the option's text,
// so a list without a text goes, and with it the code that list gave the
// row's command.
#include "FuzzSupport.h"

#include "sheet/CommandsFile.h"

namespace {

bool LosesAnOptionList(const SheetRowModel& row) {
    for (int option = 0; option < 4; ++option) {
        if (row.OptionText[option].isEmpty() && !row.OptionList[option].isEmpty())
            return true;
    }
    return false;
}

// The row as a save and a load give it back.
SheetRowModel AsSaved(SheetRowModel row, const QString& reloadedCommand) {
    if (!LosesAnOptionList(row))
        return row;
    for (int option = 0; option < 4; ++option) {
        if (row.OptionText[option].isEmpty())
            row.OptionList[option].clear();
    }
    row.Command = reloadedCommand;
    return row;
}

CommandsLoad SavedAndLoaded(const CommandsLoad& load, const QString& fileName) {
    QString error;
    FUZZ_REQUIRE(SaveCommandsRows(fileName, load.Rows, load.Heading, &error) && error.isEmpty());
    const CommandsLoad again = LoadCommandsRows(fileName);
    FUZZ_REQUIRE(again.Error.isEmpty());
    return again;
}

// The heading comes back as it was, followed at most by the blank line that
// parts it from the first row; a blank heading may be dropped.
void RequireHeadingKept(const ProfileFile& before, const ProfileFile& after) {
    if (before.IsBlank())
        return;
    const QByteArray kept = before.ToBytes();
    const QByteArray back = after.ToBytes();
    FUZZ_REQUIRE(back == kept || back == kept + "\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzzing::ScratchPath(QStringLiteral("input.SDI12"));
    const QString saved = fuzzing::ScratchPath(QStringLiteral("saved.SDI12"));
    FUZZ_REQUIRE(fuzzing::WriteFile(input, fuzzing::Bytes(data, size)));
    const CommandsLoad first = LoadCommandsRows(input);
    FUZZ_REQUIRE(first.Error.isEmpty());

    const CommandsLoad second = SavedAndLoaded(first, saved);
    FUZZ_REQUIRE(second.Rows.size() == first.Rows.size());
    for (qsizetype i = 0; i < second.Rows.size(); ++i) {
        const SheetRowModel& row = first.Rows.at(i);
        FUZZ_REQUIRE(second.Rows.at(i) == AsSaved(row, second.Rows.at(i).Command));
        FUZZ_REQUIRE(second.Rows.at(i).Command.startsWith(row.Section));
    }
    RequireHeadingKept(first.Heading, second.Heading);
    const CommandsLoad third = SavedAndLoaded(second, saved);
    FUZZ_REQUIRE(third.Rows == second.Rows);
    FUZZ_REQUIRE(third.Heading.ToBytes() == second.Heading.ToBytes());
    return 0;
}
