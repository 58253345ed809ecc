#include "platform/LineSettings.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, speed_t>, 30> standardSpeeds{{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

bool isDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

LineSettingsParse refuse(const QString& reason) {
    LineSettingsParse result;
    result.refusal = reason;
    return result;
}

tcflag_t characterSizeFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

tcflag_t parityFlags(char parity) {
    switch (parity) {
    case 'E':
        return PARENB;
    case 'O':
        return PARENB | PARODD;
    case 'M': // stick parity: the parity bit is always 1
        return PARENB | PARODD | CMSPAR;
    case 'S': // stick parity: the parity bit is always 0
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

} // namespace

QString LineFormat::toText() const {
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(QChar(parity)).arg(dataBits).arg(stopBits);
}

speed_t termiosSpeed(int baud) {
    const auto found = std::find_if(standardSpeeds.begin(), standardSpeeds.end(),
                                    [baud](const auto& entry) { return entry.first == baud; });
    return found == standardSpeeds.end() ? B0 : found->second;
}

LineSettingsParse parseLineSettings(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return refuse(QStringLiteral("four fields are needed: baud,parity,data bits,stop bits"));
    const QString baudText = fields[0].trimmed();
    const QString parityText = fields[1].trimmed().toUpper();
    const QString dataText = fields[2].trimmed();
    const QString stopText = fields[3].trimmed();

    LineFormat format;
    bool inRange = false;
    format.baud = baudText.toInt(&inRange);
    if (!isDigits(baudText) || !inRange || format.baud <= 0)
        return refuse(QStringLiteral("baud rate must be a positive whole number"));
    if (termiosSpeed(format.baud) == B0)
        return refuse(QStringLiteral("baud rate %1 is not one the serial driver offers "
                                     "(e.g. 1200, 9600, 19200, 115200)")
                          .arg(format.baud));
    if (parityText.size() != 1 || !QStringLiteral("EONMS").contains(parityText))
        return refuse(QStringLiteral("parity must be E, O, N, M or S"));
    format.parity = parityText.at(0).toLatin1();
    if (!isDigits(dataText) || dataText.toInt() < 5 || dataText.toInt() > 8)
        return refuse(QStringLiteral("data bits must be 5 to 8"));
    format.dataBits = dataText.toInt();
    if (stopText != QLatin1String("1") && stopText != QLatin1String("2"))
        return refuse(QStringLiteral("stop bits must be 1 or 2"));
    format.stopBits = stopText.toInt();

    LineSettingsParse result;
    result.ok = true;
    result.format = format;
    return result;
}

void applyLineFormat(termios& attributes, const LineFormat& format, int flowControl) {
    attributes.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | IGNPAR | ISTRIP | INLCR | IGNCR | ICRNL |
                                    IXON | IXOFF | IXANY | IMAXBEL);
    attributes.c_iflag |= INPCK | PARMRK;
    attributes.c_oflag &= ~tcflag_t(OPOST);
    attributes.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    attributes.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    attributes.c_cflag |=
        CLOCAL | CREAD | characterSizeFlag(format.dataBits) | parityFlags(format.parity);
    if (format.stopBits == 2)
        attributes.c_cflag |= CSTOPB;
    if (flowControl == 1)
        attributes.c_iflag |= IXON | IXOFF;
    else if (flowControl == 2)
        attributes.c_cflag |= CRTSCTS;
    attributes.c_cc[VMIN] = 1;
    attributes.c_cc[VTIME] = 0;
    cfsetispeed(&attributes, termiosSpeed(format.baud));
    cfsetospeed(&attributes, termiosSpeed(format.baud));
}
