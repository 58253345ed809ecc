#include "tools/sim/SensorModel.h"

#include "measure/Crc16.h"
#include "tools/sim/MeasuredValues.h"
#include "tools/sim/SimIdentity.h"

#include <cctype>

namespace {

// An M measurement promises its data in 2 s ("a002n") and has them ready
// a little sooner, when the sensor says so with a service request.
constexpr char kMeasureSeconds[] = "002";
constexpr std::chrono::milliseconds kDataReadyAfter(1200);
// A C measurement promises its data in 1 s and sends no service request.
constexpr char kConcurrentSeconds[] = "001";
// A measurement without values is ready at once.
constexpr char kNoWait[] = "000";

std::string identification() {
    return std::string("13") + SimIdentity::kVendor + SimIdentity::kModel + SimIdentity::kVersion +
           SimIdentity::kSerialNumber;
}

} // namespace

SensorModel::SensorModel(const std::string& addresses, bool corruptCrc) : corruptCrc_(corruptCrc) {
    for (const char address : addresses)
        sensors_.push_back(Sensor{address, 0, {}, false, ExtendedSettings()});
}

bool SensorModel::isValidAddress(char character) {
    return std::isalnum(static_cast<unsigned char>(character)) != 0;
}

Reply SensorModel::respond(const std::string& command) {
    if (command.size() < 2 || command.back() != '!' || sensors_.empty())
        return {};
    const std::string body = command.substr(1, command.size() - 2);
    if (command[0] == '?') {
        const std::string first(1, sensors_.front().address);
        if (body.empty())
            return answering(first);
        if (body == "X")
            return answering(first + SimIdentity::kFamilyTag);
        return {};
    }
    Sensor* sensor = sensorAt(command[0]);
    return sensor == nullptr ? Reply() : respond(*sensor, body);
}

Reply SensorModel::respond(Sensor& sensor, const std::string& body) {
    const std::string address(1, sensor.address);
    if (body.empty())
        return answering(address);
    if (body == "I")
        return answering(address + identification());
    if (body.size() == 2 && body[0] == 'A')
        return changeAddress(sensor, body[1]);
    if (const std::optional<MeasurementCommand> command = MeasurementCommand::read(body))
        return measure(sensor, *command);
    if (body.size() == 2 && body[0] == 'D' && body[1] >= '0' && body[1] <= '9')
        return sendData(sensor, body[1] - '0');
    if (body[0] == 'X')
        return sensor.extended.respond(sensor.address, body);
    return {};
}

Reply SensorModel::measure(Sensor& sensor, const MeasurementCommand& command) {
    using Kind = MeasurementCommand::Kind;
    const int reading = sensor.readings++;
    const std::vector<std::string> values = command.kind == Kind::Verify
                                                ? MeasuredValues::verification(reading)
                                                : MeasuredValues::of(command.index, reading);
    const std::string address(1, sensor.address);
    if (command.kind == Kind::Continuous)
        return answering(checked(address + MeasuredValues::joined(values), command.withCrc));

    sensor.data = MeasuredValues::intoDataAnswers(values);
    sensor.dataWithCrc = command.withCrc;
    const std::string count = std::to_string(values.size());
    if (command.kind == Kind::Concurrent) {
        const std::string twoDigitCount = count.size() == 1 ? "0" + count : count;
        return answering(address + (values.empty() ? kNoWait : kConcurrentSeconds) + twoDigitCount);
    }
    if (values.empty())
        return answering(address + kNoWait + count);
    Reply reply = answering(address + kMeasureSeconds + count);
    reply.followUp = FollowUp{address, kDataReadyAfter};
    return reply;
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
    if (corruptCrc_)
        crc.back() = static_cast<char>(crc.back() ^ 0x01);
    return text + crc.toStdString();
}

// An address that is not valid or belongs to another sensor on the bus is
// refused: the sensor keeps its address and says so.
Reply SensorModel::changeAddress(Sensor& sensor, char newAddress) {
    const bool taken = newAddress != sensor.address && sensorAt(newAddress) != nullptr;
    if (isValidAddress(newAddress) && !taken)
        sensor.address = newAddress;
    return answering(std::string(1, sensor.address));
}

SensorModel::Sensor* SensorModel::sensorAt(char address) {
    for (Sensor& sensor : sensors_) {
        if (sensor.address == address)
            return &sensor;
    }
    return nullptr;
}
