// A commands file from anywhere loads, saves and loads again to the same
// rows. The one loss saving allows: an option's list is kept only with the
// option's text, so a list without a text goes, and with it the code that
// list gave the row's command.
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

SheetRows SavedAndLoaded(const SheetRows& rows, const QString& fileName) {
    QString error;
    FUZZ_REQUIRE(SaveCommandsRows(fileName, rows, &error) && error.isEmpty());
    const CommandsLoad load = LoadCommandsRows(fileName);
    FUZZ_REQUIRE(load.Error.isEmpty());
    return load.Rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzzing::ScratchPath(QStringLiteral("input.SDI12"));
    const QString saved = fuzzing::ScratchPath(QStringLiteral("saved.SDI12"));
    FUZZ_REQUIRE(fuzzing::WriteFile(input, fuzzing::Bytes(data, size)));
    const CommandsLoad first = LoadCommandsRows(input);
    FUZZ_REQUIRE(first.Error.isEmpty());

    const SheetRows second = SavedAndLoaded(first.Rows, saved);
    FUZZ_REQUIRE(second.size() == first.Rows.size());
    for (qsizetype i = 0; i < second.size(); ++i) {
        const SheetRowModel& row = first.Rows.at(i);
        FUZZ_REQUIRE(second.at(i) == AsSaved(row, second.at(i).Command));
        FUZZ_REQUIRE(second.at(i).Command.startsWith(row.Section));
    }
    FUZZ_REQUIRE(SavedAndLoaded(second, saved) == second);
    return 0;
}
