#include "tools/sim/ExtendedSettings.h"

#include "tools/sim/SimIdentity.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

namespace {

bool isDigit(char character) {
    return std::isdigit(static_cast<unsigned char>(character)) != 0;
}

bool allDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

bool oneDigit(const std::string& value) {
    return value.size() == 1 && allDigits(value);
}

bool threeDigits(const std::string& value) {
    return value.size() == 3 && allDigits(value);
}

bool siteTag(const std::string& value) {
    return value.size() <= 8;
}

bool oneCharacter(const std::string& value) {
    return value.size() == 1;
}

// Mode, Type, Config and the two Gain characters; the codes themselves are
// not checked so that a sheet with codes of a newer firmware still writes.
bool optionCodes(const std::string& value) {
    return value.size() == 5;
}

// An optional sign, then digits with at most one decimal point.
bool decimalNumber(const std::string& value) {
    const std::size_t start = !value.empty() && (value[0] == '+' || value[0] == '-') ? 1 : 0;
    const std::string number = value.substr(start);
    const auto points = std::count(number.begin(), number.end(), '.');
    const auto digits = std::count_if(number.begin(), number.end(), isDigit);
    return number.size() <= 10 && points <= 1 && digits > 0 &&
           static_cast<std::size_t>(points + digits) == number.size();
}

struct SettingRule {
    const char* base;
    const char* initial;
    bool (*accepts)(const std::string& value);
};

// No base is the beginning of another, so the first match decides.
constexpr SettingRule kRules[] = {
    {"XB", "3", oneDigit},          {"XW", "010", threeDigits},    {"XS", "SITE01", siteTag},
    {"X0A", "C", oneCharacter},     {"XRA", "0.2", decimalNumber}, {"XOPM", "21001", optionCodes},
    {"XOPA", "10010", optionCodes},
};

const SettingRule* ruleFor(const std::string& body) {
    for (const SettingRule& rule : kRules) {
        if (body.compare(0, std::strlen(rule.base), rule.base) == 0)
            return &rule;
    }
    return nullptr;
}

} // namespace

ExtendedSettings::ExtendedSettings(std::string serialNumber)
    : m_serialNumber(std::move(serialNumber)) {
    for (const SettingRule& rule : kRules)
        m_values[rule.base] = rule.initial;
}

Reply ExtendedSettings::respond(char address, const std::string& body) {
    const std::string sensor(1, address);
    if (body == "XIV")
        return answering(sensor + SimIdentity::kFirmware);
    if (body == "XIS")
        return answering(sensor + m_serialNumber);
    if (body == "XIM")
        return answering(sensor + SimIdentity::kModelName);

    const SettingRule* rule = ruleFor(body);
    if (rule == nullptr)
        return {};
    const std::string base = rule->base;
    const std::string operand = body.substr(base.size());
    if (operand == "?")
        return answering(sensor + base + m_values[base]);
    if (!rule->accepts(operand))
        return answering(sensor + "ERR");
    m_values[base] = operand;
    return Reply{sensor + base + operand, SettingChange{base, operand}, std::nullopt};
}
