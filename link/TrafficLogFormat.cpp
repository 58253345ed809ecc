#include "link/TrafficLogFormat.h"

#include <cstdio>

namespace {

QByteArray stampBytes(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    char stamp[32];
    const int length =
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", date.year(),
                      date.month(), date.day(), time.hour(), time.minute(), time.second());
    return QByteArray(stamp, length);
}

QByteArray hexBytes(const QByteArray& response) {
    static const char digits[] = "0123456789ABCDEF";
    QByteArray hex(response.size() * 3, Qt::Uninitialized);
    char* out = hex.data();
    for (const char byte : response) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = ' ';
        *out++ = digits[code >> 4];
        *out++ = digits[code & 0x0F];
    }
    return hex;
}

} // namespace

namespace TrafficLogFormat {

QString DateStamp(const QDateTime& when) {
    return QString::fromLatin1(stampBytes(when));
}

QString HexText(const QByteArray& response) {
    return QString::fromLatin1(hexBytes(response));
}

QString TranscriptLine1(const QDateTime& when, qint64 gapMs, const QByteArray& response) {
    QByteArray withoutNuls = response;
    withoutNuls.removeIf([](char byte) { return byte == '\0'; });
    return DateStamp(when) + QLatin1String(" [") + QString::number(gapMs) +
           QLatin1String(" mS] <") + QString::fromLatin1(withoutNuls) + QLatin1Char('>');
}

QString TranscriptLine2(const QByteArray& response) {
    return QLatin1Char('-') + HexText(response);
}

QByteArray LogLine(const QDateTime& when, qint64 gapMs, const QByteArray& response) {
    return stampBytes(when) + QByteArray::number(gapMs) + " -" + hexBytes(response) + "\r\n";
}

} // namespace TrafficLogFormat
