#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How a measurement is started, and what its first answer promises.
//   M, M1..M9, V: "atttn"; the data wait ttt seconds or for a service request.
//   C, C1..C9:    "atttnn"; the data wait ttt seconds, no service request.
//   R0..R9:       the values come at once, in the answer itself.
// A "C" after the letter (MC, CC1, RC0 ...) asks for a CRC on each data answer.
struct MeasurementMethod {
    enum class Kind { Measure, Concurrent, Continuous, Verify };

    Kind What = Kind::Measure;
    bool WithCrc = false;
    int Index = 0; // M1..M9, C1..C9, R0..R9; 0 for the plain M, C and V

    // "M", "MC1", "RC0", "V" ...
    QString Name() const;
    // The command that starts the measurement at `address`: "0MC!", "0R3!" ...
    QString StartCommand(QChar address) const;
    // The answer to the start command holds the values themselves.
    bool AnswersWithValues() const { return What == Kind::Continuous; }
    // Digits of the value count in the start answer: 1, or 2 when concurrent.
    int CountDigits() const { return What == Kind::Concurrent ? 2 : 1; }
    // The sensor may end the wait with a service request.
    bool MaySendServiceRequest() const { return What == Kind::Measure || What == Kind::Verify; }

    // Every method, in the order a person picks from.
    static QStringList AllNames();
    static std::optional<MeasurementMethod> FromName(const QString& name);
};
