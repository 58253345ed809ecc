#include "measure/IdentificationWatch.h"

#include "link/ExchangeLink.h"
#include "measure/Identification.h"

IdentificationWatch::IdentificationWatch(ExchangeLink& link, QObject* parent) : QObject(parent) {
    connect(&link, &ExchangeLink::commandTransmitted, this,
            [this](ExchangeId exchange, const QString& command) {
                link_commandTransmitted(exchange, command);
            });
    connect(&link, &ExchangeLink::exchangeEnded, this,
            [this](ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer) {
                link_exchangeEnded(exchange, outcome, answer);
            });
}

void IdentificationWatch::link_commandTransmitted(ExchangeId exchange, const QString& command) {
    if (!Identification::IsIdentifyCommand(command))
        return;
    m_exchange = exchange;
    m_address = command.at(0);
}

void IdentificationWatch::link_exchangeEnded(ExchangeId exchange, ExchangeOutcome outcome,
                                             const QByteArray& answer) {
    if (exchange == NoExchange || exchange != m_exchange)
        return;
    m_exchange = NoExchange;
    if (outcome == ExchangeOutcome::Answered)
        emit answered(m_address, answer);
}
