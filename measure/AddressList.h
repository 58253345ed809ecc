#pragma once

#include <QList>
#include <QString>

// The sensors a measurement covers, as the operator writes them: one
// address, or several separated by commas or blanks ("0", "0,3,5", "0 3 5").
// An address is one printable character other than the separators.
namespace AddressList {

struct Reading {
    QList<QChar> Addresses;
    QString Fault; // why the text is no list of addresses; empty when it is

    bool IsSound() const { return Fault.isEmpty(); }
};

Reading Read(const QString& text);
// "0,3,5"
QString Text(const QList<QChar>& addresses);

} // namespace AddressList
