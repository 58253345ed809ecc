#pragma once

#include "link/Exchange.h"

#include <QByteArray>
#include <QChar>
#include <QObject>

class ExchangeLink;

// Every answer to an identification ("aI!") that comes over the link,
// whoever asked for it: the operator, the Measure tab or a scan.
class IdentificationWatch : public QObject {
    Q_OBJECT
public:
    explicit IdentificationWatch(ExchangeLink& link, QObject* parent = nullptr);

signals:
    // The answer, as it came, to "aI!" sent to `address`.
    void answered(QChar address, const QByteArray& answer);

private:
    void link_commandTransmitted(ExchangeId exchange, const QString& command);
    void link_exchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer);

    ExchangeId m_exchange = NoExchange;
    QChar m_address;
};
