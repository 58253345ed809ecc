#include "measure/AddressList.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace {
QString tr(const char* text) {
    return QCoreApplication::translate("AddressList", text);
}
} // namespace

AddressList::Reading AddressList::Read(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    Reading reading;
    const QStringList parts = text.split(separators, Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        reading.Fault = tr("give the sensor's address, one character, or several separated "
                           "by commas");
        return reading;
    }
    for (const QString& part : parts) {
        const QChar address = part.at(0);
        if (part.size() != 1 || address.unicode() <= 0x20 || address.unicode() >= 0x7F) {
            reading.Fault = tr("\"%1\" is not an address: an address is one character").arg(part);
            return reading;
        }
        if (reading.Addresses.contains(address)) {
            reading.Fault = tr("address %1 is given twice").arg(address);
            return reading;
        }
        reading.Addresses.append(address);
    }
    return reading;
}

QString AddressList::Text(const QList<QChar>& addresses) {
    QStringList parts;
    for (const QChar address : addresses)
        parts.append(address);
    return parts.join(QLatin1Char(','));
}
