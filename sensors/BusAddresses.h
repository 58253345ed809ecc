#pragma once

#include <QChar>
#include <QString>

// The addresses SDI-12 sensors may have: "0"-"9" are the standard ones,
// "A"-"Z" and "a"-"z" are allowed too, 62 in all.
namespace BusAddresses {

enum class Range {
    Standard, // "0"-"9"
    All,      // all 62
};

// The range's addresses in the order a scan probes them.
QString of(Range range);
bool isAddress(QChar character);

} // namespace BusAddresses
