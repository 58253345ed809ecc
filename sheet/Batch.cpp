#include "sheet/Batch.h"

#include <algorithm>

namespace Batch {

qint32 NextWriteRow(const QStringList& actionTexts, qint32 from) {
    for (qint32 row = std::max(from, FirstRow); row < actionTexts.size(); ++row) {
        if (actionTexts.at(row) == QLatin1String("WRITE"))
            return row;
    }
    return 0;
}

Advance AdvanceAfterExchange(qint32 sheetRow, qint32 lastRow) {
    // Compared before adding, so that a row number at the top of the range
    // cannot overflow.
    if (sheetRow >= lastRow)
        return {FirstRow, true};
    return {sheetRow + 1, false};
}

} // namespace Batch
