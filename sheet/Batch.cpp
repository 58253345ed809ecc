#include "sheet/Batch.h"

#include <algorithm>

void BatchWrite::Start() {
    m_running = true;
    m_row = FirstRow;
    m_exchange = NoExchange;
}

void BatchWrite::Stop() {
    m_running = false;
    m_exchange = NoExchange;
}

void BatchWrite::end() {
    m_running = false;
    m_row = FirstRow;
    m_exchange = NoExchange;
}

BatchWrite::TickAction BatchWrite::Tick(const QStringList& actionTexts) {
    if (!m_running || m_exchange != NoExchange)
        return {TickAction::Kind::Wait, m_row};
    const qint32 row = NextWriteRow(actionTexts, m_row);
    if (row == 0) {
        end();
        return {TickAction::Kind::End, m_row};
    }
    m_row = row;
    return {TickAction::Kind::Send, row};
}

void BatchWrite::RowSent(ExchangeId exchange) {
    if (m_running)
        m_exchange = exchange;
}

void BatchWrite::RowNotSent(bool portClosed) {
    if (!m_running)
        return;
    if (portClosed)
        end();
    else
        ++m_row; // no overflow: the row came from the sheet, whose rows are fewer
}

bool BatchWrite::ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, qint32 lastRow) {
    if (!m_running || exchange == NoExchange || exchange != m_exchange)
        return false;
    m_exchange = NoExchange;
    if (outcome == ExchangeOutcome::Interrupted)
        return true;
    // Compared before adding, so that a row number at the top of the range
    // cannot overflow.
    if (m_row >= lastRow)
        end();
    else
        ++m_row;
    return true;
}

qint32 BatchWrite::NextWriteRow(const QStringList& actionTexts, qint32 from) {
    for (qint32 row = std::max(from, FirstRow); row < actionTexts.size(); ++row) {
        if (actionTexts.at(row) == QLatin1String("WRITE"))
            return row;
    }
    return 0;
}
