#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>

// Readers of the answers a measurement brings. Each takes the answer as it
// came off the line (its CR LF included) and either gives what it holds or
// names what is wrong with it, in words for the operator.

// One value as the sensor sent it: a sign, then up to seven digits with an
// optional decimal point ("+21.37", "-.5", "+0").
struct MeasuredValue {
    QString Text;
    double Number = 0;
};

// "atttn" or "atttnn": the data are ready in Seconds and Count values will
// come.
struct MeasurementPromise {
    int Seconds = 0;
    int Count = 0;
};

template <typename T> struct AnswerReading {
    T Content{};
    QString Fault; // empty when the answer is sound
    // The answer had the right form but its CRC did not match: asking again
    // may bring it whole.
    bool CrcMismatch = false;
    bool IsSound() const { return Fault.isEmpty(); }
};

namespace MeasurementAnswers {

constexpr int MaxValueDigits = 7;

// countDigits: 1 for "atttn", 2 for "atttnn".
AnswerReading<MeasurementPromise> ReadPromise(const QByteArray& answer, QChar address,
                                              int countDigits);
// "a<values>" with, when withCrc, three CRC characters before the CR LF.
AnswerReading<QList<MeasuredValue>> ReadValues(const QByteArray& answer, QChar address,
                                               bool withCrc);
// Splits "+21.37-0.12+7.91" into its values; nothing when any is malformed.
std::optional<QList<MeasuredValue>> SplitValues(const QByteArray& text);
// The service request: the address alone on its line.
bool IsServiceRequest(const QByteArray& answer, QChar address);
// The answer as an operator can read it: "<CR>", "<LF>" and "<hh>" for
// what does not print.
QString Printable(const QByteArray& answer);

} // namespace MeasurementAnswers
