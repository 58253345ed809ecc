#pragma once

#include "platform/ProfileFile.h"
#include "sheet/SheetModel.h"

#include <QString>

// Reading and writing commands files (.SDI12): one profile section per
// sensor setting, one sheet row per section.

struct CommandsLoad {
    SheetRows Rows;
    // What describes the file: the lines before its first section (its
    // opening comments) and its "Title" section, as they were read. A save
    // writes them back at the top.
    ProfileFile Heading;
    QString Error; // why the load failed; "" when it did not
};

// The sheet rows of a commands file, in file order. The "Title" section is
// not a setting and gives no row, nor does a section with an empty name;
// the sections after either load as usual. A file that does not exist, or
// holds no section, gives no rows and no error.
CommandsLoad LoadCommandsRows(const QString& fileName);

// Replaces fileName with a commands file holding the heading and then the
// rows, one section per row named by its Section. READ rows keep only their
// name; WRITE rows also keep their value and each option text that is not
// "" with its list. The old file is replaced only once the new one is
// complete, so a failed save leaves it as it was and returns false with a
// description in *error. Saving no rows and a blank heading removes the
// file.
bool SaveCommandsRows(const QString& fileName, const SheetRows& rows, const ProfileFile& heading,
                      QString* error = nullptr);
