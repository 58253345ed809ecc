#include "measure/Identification.h"

#include <cctype>

namespace {
constexpr int VersionLength = 2;
constexpr int VendorLength = 8;
constexpr int ModelLength = 6;
constexpr int SensorVersionLength = 3;
constexpr int FixedLength = 1 + VersionLength + VendorLength + ModelLength + SensorVersionLength;

// Sensors pad their fields with spaces; the padding is not part of the name.
QString field(const QByteArray& line, int start, int length) {
    return QString::fromLatin1(line.mid(start, length)).trimmed();
}

bool isPrintable(const QByteArray& line) {
    for (const char character : line) {
        if (uchar(character) < 0x20 || uchar(character) >= 0x7F)
            return false;
    }
    return true;
}

} // namespace

bool Identification::IsIdentifyCommand(const QString& command) {
    return command.size() == 3 && command.mid(1) == QLatin1String("I!");
}

std::optional<Identification> Identification::Decode(const QByteArray& answer) {
    if (!answer.endsWith("\r\n"))
        return std::nullopt;
    const QByteArray line = answer.chopped(2);
    if (line.size() < FixedLength || !isPrintable(line))
        return std::nullopt;
    const QByteArray version = line.mid(1, VersionLength);
    if (!std::isdigit(uchar(version[0])) || !std::isdigit(uchar(version[1])))
        return std::nullopt;

    Identification identification;
    identification.Address = QChar::fromLatin1(line[0]);
    identification.Sdi12Version =
        QStringLiteral("%1.%2").arg(QChar::fromLatin1(version[0]), QChar::fromLatin1(version[1]));
    int position = 1 + VersionLength;
    identification.Vendor = field(line, position, VendorLength);
    position += VendorLength;
    identification.Model = field(line, position, ModelLength);
    position += ModelLength;
    identification.SensorVersion = field(line, position, SensorVersionLength);
    position += SensorVersionLength;
    identification.Rest = field(line, position, line.size() - position);
    return identification;
}
