#include "tools/sim/LineNoise.h"

#include "tools/sim/LineDamage.h"

LineNoise::LineNoise(double dropChance, double garbleChance, std::uint32_t seed)
    : m_dropChance(dropChance), m_garbleChance(garbleChance), m_draws(seed) {}

std::optional<std::string> LineNoise::pass(std::string answer) {
    if (happens(m_dropChance))
        return std::nullopt;
    if (!answer.empty() && happens(m_garbleChance)) {
        char& character = answer[m_draws() % answer.size()];
        character = LineDamage::damaged(character);
    }
    return answer;
}

// No draw is spent on a kind of noise the line does not have.
bool LineNoise::happens(double chance) {
    constexpr double kDraws = 4294967296.0; // 2^32 equally likely draws
    return chance > 0 && static_cast<double>(m_draws()) < chance * kDraws;
}
