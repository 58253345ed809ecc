#pragma once

#include <QChar>
#include <QString>

struct MeasurementMethod;

// The commands that ask a sensor about a measurement without making it.
namespace IdentifyCommands {

// The highest parameter number a command can name ("_999").
constexpr int LastParameter = 999;

// "aIM!", "aIMC!", "aIC1!", "aIV!" ...: answered as the measurement command
// would be ("atttn"), with no measurement made. Empty for the continuous
// methods, which have none: their answer is the values themselves.
QString promise(QChar address, const MeasurementMethod& method);
// "aIM_001!", "aIRC0_012!" ...: what value `number` (from 1) of the method
// is called and in which unit.
QString parameter(QChar address, const MeasurementMethod& method, int number);

} // namespace IdentifyCommands
