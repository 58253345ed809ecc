#pragma once

#include "measure/MeasurementAnswers.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// What a sensor says one of its values is: a short name ("TA", a SHEF code
// or the maker's own), its unit (none for a unitless value) and any further
// fields (a description, calibration data ...).
struct ParameterInfo {
    QString Name;
    QString Unit;
    QStringList More;

    // "TA (degC)", or the name alone for a value without a unit.
    QString label() const;
    bool operator==(const ParameterInfo& other) const {
        return Name == other.Name && Unit == other.Unit && More == other.More;
    }
};

// The answer to an identify-parameter command ("aIM_001!" ...):
//   a,name,unit[,more fields];   then, for the CRC forms, three CRC characters,
// and CR LF. A value past the last is answered with the address alone (and
// its CRC). Fields hold neither "," nor ";", so a comma always ends a field;
// the answer is at most 75 characters up to its ";".
namespace ParameterAnswer {

constexpr int MaxLength = 75;

// The parameter, or nothing for the address alone; a fault, in the
// operator's words, when the answer is not of this form.
AnswerReading<std::optional<ParameterInfo>> read(const QByteArray& answer, QChar address,
                                                 bool withCrc);

} // namespace ParameterAnswer
