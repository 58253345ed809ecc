#include "sheet/RowExchange.h"

QString RowExchange::ReadBackValue(const QByteArray& answer) {
    QByteArray value = answer;
    if (value.endsWith("\r\n"))
        value.chop(2);
    return QString::fromLatin1(value.mid(1));
}

void RowExchange::Sent(qint32 row, ExchangeId exchange) {
    m_row = row;
    m_exchange = exchange;
}

std::optional<RowExchange::RowResult> RowExchange::Ended(ExchangeId exchange,
                                                         ExchangeOutcome outcome) {
    if (exchange == NoExchange || exchange != m_exchange)
        return std::nullopt;
    m_exchange = NoExchange;
    switch (outcome) {
    case ExchangeOutcome::Answered:
        return RowResult{m_row, QStringLiteral("OK")};
    case ExchangeOutcome::TimedOut:
        return RowResult{m_row, QStringLiteral("TIMEOUT")};
    case ExchangeOutcome::Interrupted:
        break;
    }
    return RowResult{m_row, QString()};
}
