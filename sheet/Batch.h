#pragma once

#include <QStringList>
#include <QtGlobal>

// The decisions of the batch write, which sends every WRITE row of the sheet
// one row per tick and moves on as each row's exchange completes.
namespace Batch {

// The row a batch starts from and returns to when it ends.
constexpr qint32 FirstRow = 1;

// The first sheet row r, from <= r, whose Action text is exactly "WRITE";
// 0 when there is none. actionTexts holds the Action cell of every grid row,
// index 0 being the header row, which is never chosen.
qint32 NextWriteRow(const QStringList& actionTexts, qint32 from);

// Where the batch stands after the exchange of sheetRow has completed.
struct Advance {
    qint32 SheetRow;
    bool Ended;
};

// The next row, or the end of the batch (back at FirstRow) once sheetRow
// was the last row or lay beyond it.
Advance AdvanceAfterExchange(qint32 sheetRow, qint32 lastRow);

} // namespace Batch
