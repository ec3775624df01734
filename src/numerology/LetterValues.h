#pragma once
// The letter-value tables of the two systems and the analysis of a data text into a vowel row, a
// consonant row and four sums. Pure computation: no state between runs, no user interface.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

enum class LetterSystem { Pythagorean, Chaldean };

// "Pythagorean" or "Chaldean": the caption of the system button and the report's "[Method]".
std::string_view DisplayName(LetterSystem system);
// Reads a display name without regard to case; nothing for any other text.
std::optional<LetterSystem> LetterSystemFromName(std::string_view name);

enum class CharClass { Vowel, Consonant, Number, Other };

struct LetterValue {
    CharClass charClass = CharClass::Other;
    int value = 0;  // 1 to 9 for letters and numbers, 0 for other characters
};

// Classifies one character of the data by its exact code. Uppercase A to Z are letters, lowercase
// "y" is Y read as a vowel, "1" to "9" are numbers; everything else, "0" included, is other.
LetterValue Classify(char16_t c, LetterSystem system);

struct AnalysisResult {
    std::string VowelRow;      // one digit or space per data character
    std::string ConsonantRow;  // one digit or space per data character
    std::int32_t VowelSum = 0;
    std::int32_t ConsonantSum = 0;
    std::int32_t NumberSum = 0;
    std::int32_t GrandTotal = 0;
    // How many vowels and consonants carry each value 1 to 9 (index 0 counts the characters that
    // are no vowel, or no consonant): the digit chart of the two rows, counted on the way.
    std::array<std::int32_t, 10> VowelCounts{};
    std::array<std::int32_t, 10> ConsonantCounts{};
};

// Accepts any text and never fails. The data is taken as UTF-16 code units, the way the data field
// counts its characters, so that position k of each row stands under position k of the field.
// With foldAccents an accented letter is valued as its base letters (see FoldedLetters); one that
// stands for two letters, as Æ, adds both to the totals and shows under it the last digit of the
// chain of their sum, which the chart counts.
AnalysisResult AnalyseData(std::u16string_view data, LetterSystem system, bool foldAccents = false);
// The same into a result whose rows' storage is reused: no allocation once the rows have room.
void AnalyseData(std::u16string_view data, LetterSystem system, AnalysisResult& result, bool foldAccents = false);

// What one code unit adds to the sums: the value of a vowel letter, of a consonant letter or of a
// number, 0 in the other two. Made from Classify once per system; the code units from 128 up are
// all other.
struct LetterEffect {
    std::uint8_t vowel = 0;
    std::uint8_t consonant = 0;
    std::uint8_t number = 0;
    char vowelDigit = ' ';      // what the vowel row shows under the character
    char consonantDigit = ' ';  // what the consonant row shows
    // The three values in one word, 21 bits each (vowel lowest), so that one addition adds all.
    std::uint64_t packed = 0;
    // A one in the lane of the vowel's digit and of the consonant's (7 bits each, digit 1
    // lowest), so that one addition per row counts the digit for the chart.
    std::uint64_t vowelCount = 0;
    std::uint64_t consonantCount = 0;
};
using LetterEffects = std::array<LetterEffect, 128>;
const LetterEffects& LetterEffectsOf(LetterSystem system);
// The lanes of LetterEffect::packed: the vowel, consonant and number values, each this wide.
inline constexpr int kLetterLaneBits = 21;
inline constexpr std::uint64_t kLetterLaneMask = (std::uint64_t{1} << kLetterLaneBits) - 1;
// The lanes of LetterEffect::vowelCount and consonantCount.
inline constexpr int kCountLaneBits = 7;
inline constexpr std::uint64_t kCountLaneMask = (std::uint64_t{1} << kCountLaneBits) - 1;
// Characters whose counts fit in the lanes for certain.
inline constexpr std::size_t kCountBlock = kCountLaneMask;
// Adds the digit counts of a block of characters, in lanes, to counts 1 to 9.
inline void AddCountLanes(std::uint64_t lanes, std::array<std::int32_t, 10>& counts) {
    for (int digit = 1; digit <= 9; ++digit) {
        counts[digit] += static_cast<std::int32_t>(lanes >> (digit - 1) * kCountLaneBits & kCountLaneMask);
    }
}

// The effect of any code unit.
inline const LetterEffect& EffectOf(const LetterEffects& effects, char16_t c) {
    static constexpr LetterEffect kOther;
    return c < effects.size() ? effects[c] : kOther;
}

// The effect of a code unit from 128 up valued as its base letters; that of an other character
// when it has none.
const LetterEffect& FoldedEffectOf(LetterSystem system, char16_t c);

}  // namespace quillon
