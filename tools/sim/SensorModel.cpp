#include "tools/sim/SensorModel.h"

#include "measure/Crc16.h"
#include "tools/sim/LineDamage.h"
#include "tools/sim/MeasuredValues.h"
#include "tools/sim/MeasurementParameters.h"
#include "tools/sim/SimIdentity.h"

#include <cctype>

namespace {

using namespace std::chrono_literals;

// An M or V measurement promises its data in 2 s and has them ready a
// little sooner, when the sensor says so with a service request.
constexpr std::chrono::seconds kMeasureTime = 2s;
constexpr std::chrono::milliseconds kDataReadyAfter = 1200ms;
// A C measurement promises its data in 1 s and sends no service request.
constexpr std::chrono::seconds kConcurrentTime = 1s;
// A sensor stores a new address and hears no command meanwhile.
constexpr std::chrono::seconds kQuietAfterAddressChange = 1s;
// Sensors on one bus start their drift this many measurements apart, so
// that each gives values of its own.
constexpr int kDriftApart = 7;

std::string identification(const std::string& serialNumber) {
    return std::string("13") + SimIdentity::kVendor + SimIdentity::kModel + SimIdentity::kVersion +
           serialNumber;
}

// number with leading zeros to `width` digits.
std::string padded(std::size_t number, std::size_t width) {
    const std::string digits = std::to_string(number);
    return std::string(digits.size() < width ? width - digits.size() : 0, '0') + digits;
}

std::vector<std::string> valuesOf(const MeasurementCommand& command, int reading) {
    return command.kind == MeasurementCommand::Kind::Verify
               ? MeasuredValues::verification(reading)
               : MeasuredValues::of(command.index, reading);
}

std::vector<Parameter> parametersOf(const MeasurementCommand& command) {
    return command.kind == MeasurementCommand::Kind::Verify
               ? MeasurementParameters::verification()
               : MeasurementParameters::of(command.index);
}

} // namespace

SensorModel::SensorModel(const std::string& addresses, BusSettings settings)
    : m_settings(settings) {
    for (std::size_t position = 0; position < addresses.size(); ++position) {
        const std::string serialNumber = SimIdentity::serialNumber(static_cast<int>(position));
        m_sensors.push_back(Sensor{addresses[position],
                                   serialNumber,
                                   kDriftApart * static_cast<int>(position),
                                   {},
                                   false,
                                   ExtendedSettings(serialNumber),
                                   Clock::time_point()});
    }
}

bool SensorModel::isValidAddress(char character) {
    return std::isalnum(static_cast<unsigned char>(character)) != 0;
}

Reply SensorModel::respond(const std::string& command, Clock::time_point now) {
    if (command.size() < 2 || command.back() != '!')
        return {};
    const std::string body = command.substr(1, command.size() - 2);
    if (command[0] == '?')
        return respondAll(body, now);
    Sensor* sensor = sensorAt(command[0]);
    if (sensor == nullptr || now < sensor->deafUntil)
        return {};
    return respond(*sensor, body, now);
}

// Every sensor that hears a query to all answers it, and with more than one
// the answers collide on the line.
Reply SensorModel::respondAll(const std::string& body, Clock::time_point now) {
    if (!body.empty() && body != "X")
        return {};
    std::vector<std::string> answers;
    for (const Sensor& sensor : m_sensors) {
        if (now >= sensor.deafUntil)
            answers.push_back(sensor.address +
                              std::string(body.empty() ? "" : SimIdentity::kFamilyTag));
    }
    if (answers.empty())
        return {};
    return answering(LineDamage::collided(answers));
}

Reply SensorModel::respond(Sensor& sensor, const std::string& body, Clock::time_point now) {
    const std::string address(1, sensor.address);
    if (body.empty())
        return answering(address);
    if (body == "I")
        return answering(address + identification(sensor.serialNumber));
    if (const std::optional<IdentifyCommand> command = IdentifyCommand::read(body))
        return identify(sensor, *command);
    if (body.size() == 2 && body[0] == 'A')
        return changeAddress(sensor, body[1], now);
    if (const std::optional<MeasurementCommand> command = MeasurementCommand::read(body))
        return measure(sensor, *command);
    if (body.size() == 2 && body[0] == 'D' && body[1] >= '0' && body[1] <= '9')
        return sendData(sensor, body[1] - '0');
    if (body[0] == 'X')
        return sensor.extended.respond(sensor.address, body);
    return {};
}

Reply SensorModel::measure(Sensor& sensor, const MeasurementCommand& command) {
    const std::vector<std::string> values = valuesOf(command, sensor.reading++);
    const std::string address(1, sensor.address);
    if (command.kind == MeasurementCommand::Kind::Continuous)
        return answering(checked(address + MeasuredValues::joined(values), command.withCrc));

    sensor.data = MeasuredValues::intoDataAnswers(values);
    sensor.dataWithCrc = command.withCrc;
    Reply reply = answering(promise(sensor.address, command, values.size()));
    if (command.kind != MeasurementCommand::Kind::Concurrent && !values.empty()) {
        const auto ready = m_settings.timeScale.shorten(kDataReadyAfter);
        reply.followUp = FollowUp{address, std::chrono::ceil<std::chrono::milliseconds>(ready)};
    }
    return reply;
}

// The promise the measurement command would give now, or the description
// of one of its values; a value past the last is answered with the address
// alone.
Reply SensorModel::identify(const Sensor& sensor, const IdentifyCommand& command) const {
    const MeasurementCommand& measurement = command.measurement;
    if (command.parameter == 0) {
        const std::size_t count = valuesOf(measurement, sensor.reading).size();
        return answering(promise(sensor.address, measurement, count));
    }
    const std::vector<Parameter> parameters = parametersOf(measurement);
    const auto index = static_cast<std::size_t>(command.parameter - 1);
    std::string text(1, sensor.address);
    if (index < parameters.size())
        text += MeasurementParameters::described(parameters[index]);
    return answering(checked(text, measurement.withCrc));
}

std::string SensorModel::promise(char address, const MeasurementCommand& command,
                                 std::size_t count) const {
    const bool concurrent = command.kind == MeasurementCommand::Kind::Concurrent;
    const int seconds =
        count == 0
            ? 0
            : m_settings.timeScale.promisedSeconds(concurrent ? kConcurrentTime : kMeasureTime);
    return address + padded(static_cast<std::size_t>(seconds), 3) +
           padded(count, concurrent ? 2 : 1);
}

// A data command past the last group answers the address alone.
Reply SensorModel::sendData(const Sensor& sensor, int group) const {
    const auto index = static_cast<std::size_t>(group);
    const std::string values = index < sensor.data.size() ? sensor.data[index] : std::string();
    return answering(checked(std::string(1, sensor.address) + values, sensor.dataWithCrc));
}

std::string SensorModel::checked(std::string text, bool withCrc) const {
    if (!withCrc)
        return text;
    QByteArray crc = Sdi12Crc::Encode(Sdi12Crc::Compute(QByteArray::fromStdString(text)));
    // Flipping the lowest bit keeps the character printable, 0x40..0x7F.
    if (m_settings.corruptCrc)
        crc.back() = static_cast<char>(crc.back() ^ 0x01);
    return text + crc.toStdString();
}

// An address that is not valid or belongs to another sensor on the bus is
// refused: the sensor keeps its address and says so. A new one is stored
// while the sensor hears nothing for a while.
Reply SensorModel::changeAddress(Sensor& sensor, char newAddress, Clock::time_point now) {
    const bool taken = newAddress != sensor.address && sensorAt(newAddress) != nullptr;
    if (isValidAddress(newAddress) && !taken) {
        sensor.address = newAddress;
        sensor.deafUntil = now + std::chrono::duration_cast<Clock::duration>(
                                     m_settings.timeScale.shorten(kQuietAfterAddressChange));
    }
    return answering(std::string(1, sensor.address));
}

SensorModel::Sensor* SensorModel::sensorAt(char address) {
    for (Sensor& sensor : m_sensors) {
        if (sensor.address == address)
            return &sensor;
    }
    return nullptr;
}
