#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>

// The eight texts of a module's version record, in the record's order.
struct VersionStrings {
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyright;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;

    struct Field {
        const char* Name; // the key asked of the record
        QString VersionStrings::*Text;
    };
    static const std::array<Field, 8> Fields;
};

// Status of a version read.
enum VersionReadStatus { AllVersionStringsFound = 1, VersionStringsIncomplete = 2 };

// Version texts are read through a 255-character buffer: longer texts are cut,
// a surrogate pair that the cut would split left out whole.
constexpr int MaxVersionTextLength = 254;

// Answers a record key with its text, or nothing when the record lacks it.
using VersionLookUp = std::function<std::optional<QString>(const QString& name)>;

// Empties the record, then fills it name by name in the record's order. The
// first name the look-up lacks ends the read: the texts read so far stay.
VersionReadStatus FillVersionStrings(const VersionLookUp& lookUp, VersionStrings& strings);
