#pragma once

#include <string>

// The bytes as one report line: printable ASCII stays, every other byte and
// the backslash itself become \xNN, so a line never breaks and reads back
// unambiguously.
std::string printable(const std::string& bytes);
