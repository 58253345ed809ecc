#include "sensors/BusAddresses.h"

QString BusAddresses::of(Range range) {
    QString addresses;
    for (char digit = '0'; digit <= '9'; ++digit)
        addresses += QLatin1Char(digit);
    if (range == Range::Standard)
        return addresses;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        addresses += QLatin1Char(letter);
    for (char letter = 'a'; letter <= 'z'; ++letter)
        addresses += QLatin1Char(letter);
    return addresses;
}

bool BusAddresses::isAddress(QChar character) {
    const char16_t code = character.unicode();
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
           (code >= 'a' && code <= 'z');
}
