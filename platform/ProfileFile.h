#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

// A profile (INI) file held in memory: parsed once, asked many times, and
// written back whole.
//
// Reading follows the classic Windows profile rules: section and key names
// match without regard to letter case; blanks around names and values are
// trimmed; a value wrapped in matching quotes (" or ') loses them; lines
// whose first character other than blanks is ";" are comments; of duplicate sections or keys
// the first wins. CR LF and LF files both read, and a CR elsewhere in a line
// is part of it; the bytes are taken as UTF-8 (without the byte-order mark
// that may open them) when they are valid UTF-8 and as Windows-1252
// otherwise. Values are read whole, however long.
//
// Writing replaces an existing key in place, adds a new key at the end of its
// section and a new section after the last one, a blank line apart; every
// other line (comments included) is kept as it was. The file is written as
// UTF-8 with CR LF.
class ProfileFile {
public:
    // The parsed file. A file that does not exist reads as an empty profile;
    // a file that exists but cannot be read gives an empty profile and a
    // description in *error (left untouched on success).
    static ProfileFile Load(const QString& fileName, QString* error = nullptr);
    static ProfileFile FromBytes(const QByteArray& bytes);

    // True when the profile holds no section and no line but blank ones.
    bool IsBlank() const;
    // Section names in file order, each once (the first spelling).
    QStringList SectionNames() const;
    // The key's value, or defaultValue when the section or key is absent.
    QString Value(const QString& section, const QString& key,
                  const QString& defaultValue = QString()) const;

    // The lines before the first section and the named sections (the first
    // of each name, in the order named), as they were read: comments, blank
    // lines and keys alike. A name the file lacks is left out.
    ProfileFile Excerpt(const QStringList& sections) const;

    // A value that reading would change (outer blanks, its own outer quotes)
    // is written in quotes; a line feed in it becomes a blank, a lone CR
    // stays.
    void SetValue(const QString& section, const QString& key, const QString& value);

    QByteArray ToBytes() const;
    // Writes to a temporary file beside fileName and replaces fileName only
    // when all is written; on failure (a full disk, say) the old file is
    // untouched, false is returned and *error describes why.
    bool Save(const QString& fileName, QString* error = nullptr) const;

private:
    // One line as it is written; a key line also knows where its key and
    // its value (without blanks and quotes) lie in the text, so that reading
    // a file costs one string per line.
    struct Line {
        explicit Line(const QString& text = QString()) : Text(text) {}
        static Line Parsed(const QString& text);
        bool IsKey() const { return KeyLength >= 0; }
        QStringView Key() const { return QStringView(Text).mid(KeyStart, KeyLength); }
        QString Value() const { return Text.mid(ValueStart, ValueLength); }

        QString Text;
        qsizetype KeyStart = 0;
        qsizetype KeyLength = -1; // -1: not a key line
        qsizetype ValueStart = 0;
        qsizetype ValueLength = 0;
    };
    struct Section {
        QString Name;
        QVector<Line> Lines; // the header line first
    };

    void AddLine(const QString& text);
    int FindSection(const QString& name) const;
    qsizetype FindKey(int section, QStringView key) const; // line index, -1 when absent
    int AppendSection(const QString& name);

    QVector<Line> m_leadingLines;       // lines before the first section
    QVector<Section> m_sections;        // duplicates included, as in the file
    QHash<QString, int> m_firstSection; // case-folded name -> index of its first section
};
