#include "depends/VersionStrings.h"

#include "platform/TextCuts.h"

const std::array<VersionStrings::Field, 8> VersionStrings::Fields = {{
    {"CompanyName", &VersionStrings::CompanyName},
    {"FileDescription", &VersionStrings::FileDescription},
    {"FileVersion", &VersionStrings::FileVersion},
    {"InternalName", &VersionStrings::InternalName},
    {"LegalCopyright", &VersionStrings::LegalCopyright},
    {"OriginalFileName", &VersionStrings::OriginalFileName},
    {"ProductName", &VersionStrings::ProductName},
    {"ProductVersion", &VersionStrings::ProductVersion},
}};

VersionReadStatus FillVersionStrings(const VersionLookUp& lookUp, VersionStrings& strings) {
    strings = VersionStrings{};
    for (const VersionStrings::Field& field : VersionStrings::Fields) {
        const std::optional<QString> text = lookUp(QString::fromLatin1(field.Name));
        if (!text)
            return VersionStringsIncomplete;
        strings.*field.Text = TextCuts::WholeCharactersIn(*text, 0, MaxVersionTextLength);
    }
    return AllVersionStringsFound;
}
