#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// The check an SDI-12 sensor appends to a data answer when asked for one
// (aMC!, aCC!, aRC0! ...): CRC-16 with the reflected polynomial 0xA001 and
// an initial value of 0, over the address and the values, sent as three
// printable characters of six bits each.
namespace Sdi12Crc {

constexpr int EncodedLength = 3;

quint16 Compute(const QByteArray& bytes);
QByteArray Encode(quint16 crc);
// Nothing when the three characters cannot come from Encode.
std::optional<quint16> Decode(const QByteArray& characters);

} // namespace Sdi12Crc
