#pragma once

#include "link/Exchange.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// Which sheet row an exchange's outcome belongs to: the row whose send
// started the exchange, and no other. One exchange is in flight at a time,
// so one row is remembered.
class RowExchange {
public:
    // The Result a row shows for a send that never went on the line.
    static inline const QString NotSentResult = QStringLiteral("NOT SENT");

    struct RowResult {
        qint32 Row = 0;
        QString Result; // "OK", "TIMEOUT", or empty for an interrupted exchange
    };

    // What a READ row's Value shows of its answer: the answer without the
    // sensor's address and the closing CR LF.
    static QString ReadBackValue(const QByteArray& answer);

    void Sent(qint32 row, ExchangeId exchange);
    // The rows were replaced: no earlier exchange belongs to them.
    void Forget() { m_exchange = NoExchange; }
    // The row and its Result when a row started the exchange; nothing else.
    std::optional<RowResult> Ended(ExchangeId exchange, ExchangeOutcome outcome);

private:
    ExchangeId m_exchange = NoExchange;
    qint32 m_row = 0;
};
