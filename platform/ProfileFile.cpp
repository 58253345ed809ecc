#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

// Files written by older tools are in the Windows code page; a file that is
// not valid UTF-8 is taken to be one of those.
QString DecodeProfileText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool IsWrappedInQuotes(QStringView value) {
    if (value.size() < 2)
        return false;
    const QChar first = value.front();
    return (first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first;
}

QStringView Unquoted(QStringView trimmedValue) {
    return IsWrappedInQuotes(trimmedValue) ? trimmedValue.mid(1, trimmedValue.size() - 2)
                                           : trimmedValue;
}

// A value must stay on its line, so a line feed in it becomes a blank. A
// lone CR is written as it is: reading ends a line at LF only (dropping a CR
// just before it) and has always kept a CR inside a line, so this is the
// one form that reads back as a CR without a new reading rule. An escape
// would change what older files holding its characters read as. A CR at
// either end of the value is kept by the quotes that WrittenValue adds.
QString SingleLine(QString value) {
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

// Quotes keep what reading would otherwise take away: outer blanks, or an
// outer pair of quotes that belongs to the value itself.
QString WrittenValue(const QString& value) {
    if (value != value.trimmed() || IsWrappedInQuotes(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

QString Folded(const QString& name) {
    return name.toCaseFolded();
}

QString DescribeFailure(const QString& action, const QString& fileName, const QString& reason) {
    return QStringLiteral("Could not %1 \"%2\": %3.")
        .arg(action, QDir::toNativeSeparators(fileName), reason);
}

} // namespace

ProfileFile ProfileFile::Load(const QString& fileName, QString* error) {
    QFile file(fileName);
    if (!file.exists())
        return ProfileFile();
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = DescribeFailure(QStringLiteral("read"), fileName, file.errorString());
        return ProfileFile();
    }
    return FromBytes(bytes);
}

ProfileFile ProfileFile::FromBytes(const QByteArray& bytes) {
    ProfileFile profile;
    const QString text = DecodeProfileText(bytes);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        qsizetype lineEnd = end;
        if (lineEnd > start && text.at(lineEnd - 1) == QLatin1Char('\r'))
            --lineEnd;
        profile.AddLine(text.mid(start, lineEnd - start));
        start = end + 1;
    }
    return profile;
}

ProfileFile::Line ProfileFile::Line::Parsed(const QString& text) {
    Line line(text);
    const QStringView whole(line.Text);
    const QStringView trimmed = whole.trimmed();
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0 || trimmed.startsWith(QLatin1Char(';')))
        return line;
    const auto offset = [&whole](QStringView part) {
        return part.isEmpty() ? 0 : qsizetype(part.data() - whole.data());
    };
    const QStringView key = trimmed.left(equals).trimmed();
    const QStringView value = Unquoted(trimmed.mid(equals + 1).trimmed());
    line.KeyStart = offset(key);
    line.KeyLength = key.size();
    line.ValueStart = offset(value);
    line.ValueLength = value.size();
    return line;
}

void ProfileFile::AddLine(const QString& text) {
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.startsWith(QLatin1Char('['))) {
        // A name may itself hold "]": the header ends at the last one.
        const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
        const QString name =
            (close > 0 ? trimmed.mid(1, close - 1) : trimmed.mid(1)).trimmed().toString();
        const QString folded = Folded(name);
        if (!m_firstSection.contains(folded)) // the first of duplicates wins
            m_firstSection.insert(folded, m_sections.size());
        m_sections.append(Section{name, {Line(text)}});
        return;
    }
    const Line line = Line::Parsed(text);
    if (m_sections.isEmpty())
        m_leadingLines.append(line);
    else
        m_sections.last().Lines.append(line);
}

bool ProfileFile::IsBlank() const {
    return m_sections.isEmpty() &&
           std::all_of(m_leadingLines.begin(), m_leadingLines.end(),
                       [](const Line& line) { return line.Text.trimmed().isEmpty(); });
}

QStringList ProfileFile::SectionNames() const {
    QStringList names;
    for (int i = 0; i < m_sections.size(); ++i) {
        if (FindSection(m_sections.at(i).Name) == i)
            names.append(m_sections.at(i).Name);
    }
    return names;
}

int ProfileFile::FindSection(const QString& name) const {
    return m_firstSection.value(Folded(name), -1);
}

qsizetype ProfileFile::FindKey(int section, QStringView key) const {
    const QVector<Line>& lines = m_sections.at(section).Lines;
    for (qsizetype i = 1; i < lines.size(); ++i) { // line 0 is the header
        if (lines.at(i).IsKey() && lines.at(i).Key().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString ProfileFile::Value(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const int index = FindSection(section);
    const qsizetype line = index < 0 ? -1 : FindKey(index, key);
    return line < 0 ? defaultValue : m_sections.at(index).Lines.at(line).Value();
}

ProfileFile ProfileFile::Excerpt(const QStringList& sections) const {
    ProfileFile excerpt;
    excerpt.m_leadingLines = m_leadingLines;
    for (const QString& name : sections) {
        const int index = FindSection(name);
        if (index < 0 || excerpt.FindSection(name) >= 0)
            continue;
        excerpt.m_firstSection.insert(Folded(name), excerpt.m_sections.size());
        excerpt.m_sections.append(m_sections.at(index));
    }
    return excerpt;
}

int ProfileFile::AppendSection(const QString& name) {
    QVector<Line>& previous = m_sections.isEmpty() ? m_leadingLines : m_sections.last().Lines;
    if (!previous.isEmpty() && !previous.last().Text.trimmed().isEmpty())
        previous.append(Line()); // a blank line between sections
    m_firstSection.insert(Folded(name), m_sections.size());
    m_sections.append(Section{name, {Line(QLatin1Char('[') + name + QLatin1Char(']'))}});
    return m_sections.size() - 1;
}

void ProfileFile::SetValue(const QString& section, const QString& key, const QString& value) {
    int index = FindSection(section);
    if (index < 0)
        index = AppendSection(section);
    const QString keyName = key.trimmed();
    const Line written = Line::Parsed(keyName + QLatin1Char('=') + WrittenValue(SingleLine(value)));
    QVector<Line>& lines = m_sections[index].Lines;
    const qsizetype existing = FindKey(index, keyName);
    if (existing >= 0) {
        lines[existing] = written;
        return;
    }
    // After the section's last line that is not blank, so that the blank
    // line before the next section stays where it is.
    qsizetype at = lines.size();
    while (at > 1 && lines.at(at - 1).Text.trimmed().isEmpty())
        --at;
    lines.insert(at, written);
}

QByteArray ProfileFile::ToBytes() const {
    QString text;
    const auto appendLines = [&text](const QVector<Line>& lines) {
        for (const Line& line : lines) {
            text += line.Text;
            text += QLatin1String("\r\n");
        }
    };
    appendLines(m_leadingLines);
    for (const Section& section : m_sections)
        appendLines(section.Lines);
    QByteArray bytes = text.toUtf8();
    // Reading drops one byte-order mark at the start of the file, so text
    // that itself starts with one (the file had two) gets it back, and the
    // file reads the same after a save.
    if (text.startsWith(QChar(0xFEFF)))
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

bool ProfileFile::Save(const QString& fileName, QString* error) const {
    QString reason;
    if (AtomicFile::Replace(fileName, ToBytes(), &reason))
        return true;
    if (error)
        *error = DescribeFailure(QStringLiteral("write"), fileName, reason);
    return false;
}
