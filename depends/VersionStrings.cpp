#include "depends/VersionStrings.h"

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

namespace {

// Cuts without splitting a surrogate pair.
QString CutToBufferLength(const QString& text) {
    if (text.size() <= MaxVersionTextLength)
        return text;
    int length = MaxVersionTextLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace

VersionReadStatus FillVersionStrings(const VersionLookUp& lookUp, VersionStrings& strings) {
    strings = VersionStrings{};
    for (const VersionStrings::Field& field : VersionStrings::Fields) {
        const std::optional<QString> text = lookUp(QString::fromLatin1(field.Name));
        if (!text)
            return VersionStringsIncomplete;
        strings.*field.Text = CutToBufferLength(*text);
    }
    return AllVersionStringsFound;
}
