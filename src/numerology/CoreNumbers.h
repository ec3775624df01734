#pragma once
// The numbers numerology books name: expression (the whole name), soul urge (its vowels),
// personality (its consonants), life path (the whole birth date), birthday (its day) and maturity
// (life path and expression together). Each is a reduction chain read three ways.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "numerology/Dates.h"

namespace quillon {

struct CoreNumber {
    std::string chain;          // "29 / 11 / 2", as the window writes it
    int digit = 0;              // the chain's last number
    std::optional<int> master;  // 11, 22 or 33 when the chain passes through it
    // The number the maturity rule adds: the master number, else the digit.
    int Counted() const { return master.value_or(digit); }
    friend bool operator==(const CoreNumber&, const CoreNumber&) = default;
};

CoreNumber CoreNumberOf(std::uint64_t value);

enum class CoreName { Expression, SoulUrge, Personality, LifePath, Birthday, Maturity };
inline constexpr std::array<CoreName, 6> kCoreNames = {CoreName::Expression, CoreName::SoulUrge, CoreName::Personality,
                                                       CoreName::LifePath,   CoreName::Birthday, CoreName::Maturity};

// The name in files and on the command line: "expression", "soulurge", "personality", "lifepath",
// "birthday", "maturity".
std::string_view KeyOf(CoreName name);
// The name for people: "Expression", "Soul urge", "Personality", "Life path", "Birthday", "Maturity".
std::string_view TitleOf(CoreName name);
std::optional<CoreName> CoreNameFromKey(std::string_view key);
// Life path, birthday and maturity: the numbers that need a birth date.
bool OfTheDate(CoreName name);

struct CoreNumbers {
    // By CoreName; the three of the date are empty without a birth date.
    std::array<std::optional<CoreNumber>, kCoreNames.size()> numbers;
    const std::optional<CoreNumber>& operator[](CoreName name) const { return numbers[static_cast<std::size_t>(name)]; }
};

// Expression is the grand total, soul urge the vowel sum, personality the consonant sum; life path
// the digit sum of the whole date (ddmmyyyy), birthday the day of the month, and maturity the
// chain of the counted numbers (Counted) of expression and life path added.
CoreNumbers CoreNumbersOf(std::int32_t vowelSum, std::int32_t consonantSum, std::int32_t grandTotal,
                          const std::optional<CivilDate>& birthDate);

}  // namespace quillon
