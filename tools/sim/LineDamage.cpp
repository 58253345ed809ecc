#include "tools/sim/LineDamage.h"

#include <algorithm>

char LineDamage::damaged(char character) {
    return static_cast<char>(static_cast<unsigned char>(character) | 0x80);
}

std::string LineDamage::collided(const std::vector<std::string>& answers) {
    std::size_t longest = 0;
    for (const std::string& answer : answers)
        longest = std::max(longest, answer.size());
    const std::string& first = answers.front();
    std::string received;
    for (std::size_t at = 0; at < longest; ++at) {
        unsigned char common = 0x7F;
        bool agree = true;
        for (const std::string& answer : answers) {
            // A sensor that has finished leaves the line idle under the others.
            if (at >= answer.size()) {
                agree = false;
                continue;
            }
            common &= static_cast<unsigned char>(answer[at]);
            agree = agree && at < first.size() && answer[at] == first[at];
        }
        const char character = static_cast<char>(common);
        received += agree ? character : damaged(character);
    }
    return received;
}
