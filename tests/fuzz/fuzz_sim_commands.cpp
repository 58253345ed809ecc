// Commands from the line through the simulated sensors of probeterm-sim: the
// command framer and the bus of sensors behind it. Whatever ProbeTerm (or a
// user at a terminal) sends, every answer is one line that the sensors could
// send: no line end inside it, no longer than the longest SDI-12 answer with
// its CRC, and from the address the command named (or the new one it gave),
// damaged only when every sensor answered at once. A service request never
// comes without its answer.
//
// The input is a script. Its first byte sets the bus: bit 0 runs the sensors
// twenty times faster, bit 1 corrupts their CRCs. The rest comes from the
// line, and each command lets 300 ms pass before the next.
#include "FuzzSupport.h"

#include "tools/sim/CommandFramer.h"
#include "tools/sim/SensorModel.h"

namespace {

// An address, 75 characters of values or fields, and a CRC.
constexpr std::size_t kLongestAnswer = 1 + 75 + 3;

// The address an answer to `command` may start with.
bool answersFrom(const std::string& command, char address) {
    if (command.front() == '?')
        return SensorModel::isValidAddress(address) || (static_cast<unsigned char>(address) & 0x80);
    const bool changesAddress = command.size() == 4 && command[1] == 'A';
    return address == command.front() || (changesAddress && address == command[2]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const BusSettings settings{(data[0] & 2) != 0, TimeScale((data[0] & 1) != 0 ? 20 : 1)};
    SensorModel sensors("03a", settings);
    CommandFramer framer;
    SensorModel::Clock::time_point now;
    const auto* line = reinterpret_cast<const char*>(data + 1);
    for (const ReceivedCommand& command : framer.feed(line, size - 1)) {
        now += std::chrono::milliseconds(300);
        const Reply reply = sensors.respond(command.text, now);
        FUZZ_REQUIRE(!reply.followUp || reply.answer);
        if (reply.followUp)
            FUZZ_REQUIRE(reply.followUp->delay.count() >= 0);
        if (!reply.answer)
            continue;
        const std::string& answer = *reply.answer;
        FUZZ_REQUIRE(!answer.empty() && answer.size() <= kLongestAnswer);
        FUZZ_REQUIRE(answer.find_first_of("\r\n") == std::string::npos);
        FUZZ_REQUIRE(answersFrom(command.text, answer.front()));
    }
    return 0;
}
