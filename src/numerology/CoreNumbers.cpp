#include "numerology/CoreNumbers.h"

#include "numerology/ReduceChain.h"

namespace quillon {

CoreNumber CoreNumberOf(std::uint64_t value) {
    CoreNumber number{ReduceChain(value), 0, std::nullopt};
    // The chain's steps: a master number is one of them.
    while (true) {
        if (!number.master && (value == 11 || value == 22 || value == 33)) number.master = static_cast<int>(value);
        if (value < 10) break;
        value = ReduceStep(value);
    }
    number.digit = static_cast<int>(value);
    return number;
}

std::string_view KeyOf(CoreName name) {
    switch (name) {
        case CoreName::Expression: return "expression";
        case CoreName::SoulUrge: return "soulurge";
        case CoreName::Personality: return "personality";
        case CoreName::LifePath: return "lifepath";
        case CoreName::Birthday: return "birthday";
        case CoreName::Maturity: return "maturity";
    }
    return {};
}

std::string_view TitleOf(CoreName name) {
    switch (name) {
        case CoreName::Expression: return "Expression";
        case CoreName::SoulUrge: return "Soul urge";
        case CoreName::Personality: return "Personality";
        case CoreName::LifePath: return "Life path";
        case CoreName::Birthday: return "Birthday";
        case CoreName::Maturity: return "Maturity";
    }
    return {};
}

bool OfTheDate(CoreName name) {
    switch (name) {
        case CoreName::Expression:
        case CoreName::SoulUrge:
        case CoreName::Personality: return false;
        case CoreName::LifePath:
        case CoreName::Birthday:
        case CoreName::Maturity: return true;
    }
    return false;
}

std::optional<CoreName> CoreNameFromKey(std::string_view key) {
    for (const CoreName name : kCoreNames) {
        if (KeyOf(name) == key) return name;
    }
    return std::nullopt;
}

CoreNumbers CoreNumbersOf(std::int32_t vowelSum, std::int32_t consonantSum, std::int32_t grandTotal,
                          const std::optional<CivilDate>& birthDate) {
    auto of = [](std::int32_t sum) { return CoreNumberOf(static_cast<std::uint64_t>(sum < 0 ? 0 : sum)); };
    CoreNumbers core;
    auto set = [&core](CoreName name, CoreNumber number) {
        core.numbers[static_cast<std::size_t>(name)] = std::move(number);
    };
    set(CoreName::Expression, of(grandTotal));
    set(CoreName::SoulUrge, of(vowelSum));
    set(CoreName::Personality, of(consonantSum));
    if (birthDate) {
        const CoreNumber lifePath = of(CalculateDate(*birthDate).dateDigitSum);
        const CoreNumber& expression = *core[CoreName::Expression];
        set(CoreName::Maturity, of(expression.Counted() + lifePath.Counted()));
        set(CoreName::LifePath, lifePath);
        set(CoreName::Birthday, of(birthDate->day));
    }
    return core;
}

}  // namespace quillon
