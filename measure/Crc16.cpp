#include "measure/Crc16.h"

namespace {
constexpr quint16 ReflectedPolynomial = 0xA001;
constexpr char SixBitMark = 0x40;
} // namespace

quint16 Sdi12Crc::Compute(const QByteArray& bytes) {
    quint16 crc = 0;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ ReflectedPolynomial) : quint16(crc >> 1);
    }
    return crc;
}

QByteArray Sdi12Crc::Encode(quint16 crc) {
    QByteArray characters(EncodedLength, SixBitMark);
    characters[0] = char(SixBitMark | (crc >> 12));
    characters[1] = char(SixBitMark | ((crc >> 6) & 0x3F));
    characters[2] = char(SixBitMark | (crc & 0x3F));
    return characters;
}

std::optional<quint16> Sdi12Crc::Decode(const QByteArray& characters) {
    if (characters.size() != EncodedLength)
        return std::nullopt;
    const auto sixBits = [](char character) { return quint8(character) & 0x3F; };
    for (const char character : characters) {
        if ((quint8(character) & 0xC0) != quint8(SixBitMark))
            return std::nullopt;
    }
    // The first character carries only the top four bits.
    if (sixBits(characters[0]) > 0x0F)
        return std::nullopt;
    return quint16((sixBits(characters[0]) << 12) | (sixBits(characters[1]) << 6) |
                   sixBits(characters[2]));
}
