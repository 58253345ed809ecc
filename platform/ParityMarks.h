#pragma once

#include <QByteArray>

#include <vector>

// What the serial driver marks in the input stream when PARMRK is on.
enum class MarkedCondition {
    BadCharacter, // a byte received with a parity or framing error
    Break,        // the line was held in break
};

struct DecodedInput {
    // The bytes as they arrived, a bad byte included, a break left out.
    QByteArray data;
    std::vector<MarkedCondition> conditions;
};

// Decodes the marked input stream: 0xFF 0x00 X is byte X received with an
// error, 0xFF 0x00 0x00 a break, 0xFF 0xFF a literal 0xFF. A mark may be split
// across reads, so the decoder keeps the unfinished part until the next chunk.
class ParityMarkDecoder {
public:
    DecodedInput decode(const QByteArray& chunk);
    // Forgets an unfinished mark (the port was reopened).
    void reset() { m_state = State::Plain; }

private:
    enum class State { Plain, AfterEscape, AfterEscapeZero };
    State m_state = State::Plain;
};
