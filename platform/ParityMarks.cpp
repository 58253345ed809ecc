#include "platform/ParityMarks.h"

namespace {
constexpr char escapeByte = char(0xFF);
} // namespace

DecodedInput ParityMarkDecoder::decode(const QByteArray& chunk) {
    DecodedInput result;
    result.data.reserve(chunk.size());
    for (const char byte : chunk) {
        switch (m_state) {
        case State::Plain:
            if (byte == escapeByte)
                m_state = State::AfterEscape;
            else
                result.data.append(byte);
            break;
        case State::AfterEscape:
            if (byte == '\0') {
                m_state = State::AfterEscapeZero;
                break;
            }
            // 0xFF 0xFF is a literal 0xFF; any other follower cannot come from
            // the driver, so both bytes are kept as they arrived.
            result.data.append(escapeByte);
            if (byte != escapeByte)
                result.data.append(byte);
            m_state = State::Plain;
            break;
        case State::AfterEscapeZero:
            if (byte == '\0') {
                result.conditions.push_back(MarkedCondition::Break);
            } else {
                result.conditions.push_back(MarkedCondition::BadCharacter);
                result.data.append(byte);
            }
            m_state = State::Plain;
            break;
        }
    }
    return result;
}
