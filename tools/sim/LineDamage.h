#pragma once

#include <string>
#include <vector>

// What a disturbed line makes of the characters on it. A real SDI-12 line
// carries a parity bit, and the receiver's serial port flags a damaged
// character by it; a pseudo-terminal carries no parity, so a damaged
// character is sent with its eighth bit set instead: a byte no 7-bit answer
// holds, which every reader can tell from a sound one.
namespace LineDamage {

char damaged(char character);

// What the receiver reads when several sensors answer at once: where they
// all send the same character it arrives whole, anywhere else it arrives
// damaged, holding the bits the characters share (a 0 bit from any sensor
// overrides a 1 from another).
// The answers come in bus order; one answer passes unchanged.
std::string collided(const std::vector<std::string>& answers);

} // namespace LineDamage
