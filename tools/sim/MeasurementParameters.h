#pragma once

#include <string>
#include <vector>

// What each value of a measurement is, as the sensor describes it to the
// identify-parameter commands: a short name in the style of SHEF codes, a
// unit (a single blank for a value without one) and further fields. No field
// holds "," or ";".
struct Parameter {
    std::string name;
    std::string unit;
    std::vector<std::string> more;
};

namespace MeasurementParameters {

// The parameters of the measurement with this index, one for each of the
// values MeasuredValues::of gives for it, in the same order.
std::vector<Parameter> of(int index);

// The parameters of the self-test's values.
std::vector<Parameter> verification();

// The answer's fields after the address: ",name,unit[,more...];".
std::string described(const Parameter& parameter);

} // namespace MeasurementParameters
