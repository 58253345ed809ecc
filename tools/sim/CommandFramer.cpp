#include "tools/sim/CommandFramer.h"

std::vector<ReceivedCommand> CommandFramer::feed(const char* bytes, std::size_t count) {
    std::vector<ReceivedCommand> complete;
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == kWakeUp) {
            ++pending_.wakeUps;
            continue;
        }
        const char character = static_cast<char>(byte & 0x7F);
        if (character == '\r' || character == '\n' || character == '\0')
            continue;
        if (pending_.text.size() == kMaxCommandLength) {
            pending_.text.clear();
            pending_.raw.clear();
        }
        pending_.text += character;
        pending_.raw += static_cast<char>(byte);
        if (character == '!') {
            complete.push_back(std::move(pending_));
            pending_ = ReceivedCommand();
        }
    }
    return complete;
}
