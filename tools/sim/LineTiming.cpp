#include "tools/sim/LineTiming.h"

namespace {

struct SpeedCode {
    speed_t code;
    int baud;
};

constexpr SpeedCode kSpeeds[] = {
    {B50, 50},         {B75, 75},         {B110, 110},         {B134, 134},       {B150, 150},
    {B200, 200},       {B300, 300},       {B600, 600},         {B1200, 1200},     {B1800, 1800},
    {B2400, 2400},     {B4800, 4800},     {B9600, 9600},       {B19200, 19200},   {B38400, 38400},
    {B57600, 57600},   {B115200, 115200}, {B230400, 230400},   {B460800, 460800}, {B500000, 500000},
    {B576000, 576000}, {B921600, 921600}, {B1000000, 1000000},
};

int dataBits(tcflag_t controlFlags) {
    switch (controlFlags & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

} // namespace

int baudRate(speed_t speed) {
    for (const SpeedCode& known : kSpeeds) {
        if (known.code == speed)
            return known.baud;
    }
    return 0;
}

std::chrono::nanoseconds characterTime(const termios& settings) {
    constexpr int kSdi12Baud = 1200;
    const int baud = baudRate(cfgetospeed(&settings));
    const int bits = 1 + dataBits(settings.c_cflag) + ((settings.c_cflag & PARENB) ? 1 : 0) +
                     ((settings.c_cflag & CSTOPB) ? 2 : 1);
    return std::chrono::nanoseconds(std::chrono::seconds(bits)) / (baud > 0 ? baud : kSdi12Baud);
}

std::chrono::nanoseconds AnswerPacing::offset(int index,
                                              std::chrono::nanoseconds characterTime) const {
    const bool afterPause = pauseAt > 0 && index >= pauseAt;
    return characterTime * index + (afterPause ? pause : std::chrono::nanoseconds(0));
}
