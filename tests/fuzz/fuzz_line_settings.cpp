// Line settings typed by the operator or kept in the settings: a text is
// either refused with a reason or gives a format the serial driver can
// take, whose own text reads back to the same format.
//
// The input is the text, as UTF-8.
#include "FuzzSupport.h"

#include "platform/LineSettings.h"

#include <QByteArrayView>

#include <cstring>

namespace {

bool SameFormat(const LineFormat& a, const LineFormat& b) {
    return a.baud == b.baud && a.parity == b.parity && a.dataBits == b.dataBits &&
           a.stopBits == b.stopBits;
}

void RequireUsableFormat(const LineFormat& format) {
    FUZZ_REQUIRE(termiosSpeed(format.baud) != B0);
    FUZZ_REQUIRE(QByteArrayView("EONMS").contains(format.parity));
    FUZZ_REQUIRE(format.dataBits >= 5 && format.dataBits <= 8);
    FUZZ_REQUIRE(format.stopBits == 1 || format.stopBits == 2);
    for (int flowControl = 0; flowControl <= 2; ++flowControl) {
        termios attributes;
        std::memset(&attributes, 0, sizeof attributes);
        applyLineFormat(attributes, format, flowControl);
        FUZZ_REQUIRE(cfgetospeed(&attributes) == termiosSpeed(format.baud));
        FUZZ_REQUIRE(bool(attributes.c_cflag & PARENB) == format.hasParity());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LineSettingsParse parse =
        parseLineSettings(QString::fromUtf8(fuzzing::Bytes(data, size)));
    FUZZ_REQUIRE(parse.ok == parse.refusal.isEmpty());
    if (!parse.ok)
        return 0;
    RequireUsableFormat(parse.format);
    const LineSettingsParse again = parseLineSettings(parse.format.toText());
    FUZZ_REQUIRE(again.ok && SameFormat(again.format, parse.format));
    return 0;
}
