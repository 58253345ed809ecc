#pragma once

#include "link/Exchange.h"

#include <QStringList>
#include <QtGlobal>

// The batch write's state: it sends every WRITE row of the sheet, one row per
// tick, from the top down, and moves on when the row's own exchange ends.
// Outcomes of other exchanges (an operator's command, a late answer after a
// time-out, the rest of a split answer) never move it.
class BatchWrite {
public:
    // The row a batch starts from and returns to when it ends.
    static constexpr qint32 FirstRow = 1;

    // What a tick of the batch timer does.
    struct TickAction {
        enum class Kind {
            Wait, // the row's exchange is still in flight
            Send, // send Row
            End,  // no WRITE row is left: the batch has ended
        };
        Kind What = Kind::Wait;
        qint32 Row = 0;
    };

    bool Running() const { return m_running; }
    // The row being written, or the row from which the next tick looks for
    // a WRITE row.
    qint32 Row() const { return m_row; }

    void Start();
    // Stops sending; an exchange in flight still ends and is reported by
    // whoever shows results, but no longer moves the batch.
    void Stop();

    // actionTexts holds the Action cell of every grid row, index 0 being the
    // header row, which is never chosen.
    TickAction Tick(const QStringList& actionTexts);
    // The row chosen by the tick went out as this exchange.
    void RowSent(ExchangeId exchange);
    // The row chosen by the tick could not be sent. A closed port ends the
    // batch; otherwise the next tick goes on from the following row.
    void RowNotSent(bool portClosed);
    // An exchange ended. The batch's own moves it to the next row, or ends
    // the batch after the last row (lastRow); an interrupted one is sent
    // again at the next tick. Returns true when the exchange was the batch's.
    bool ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, qint32 lastRow);

    // The first sheet row r, from <= r, whose Action text is exactly "WRITE";
    // 0 when there is none.
    static qint32 NextWriteRow(const QStringList& actionTexts, qint32 from);

private:
    void end();

    bool m_running = false;
    qint32 m_row = FirstRow;
    ExchangeId m_exchange = NoExchange; // the batch's own exchange in flight
};
