#include "numerology/LetterValues.h"

#include <algorithm>
#include <array>
#include <climits>
#include <numeric>
#include <cstdint>

namespace quillon {
namespace {

// Values of A to Z, in alphabet order. The Pythagorean column repeats 1 to 9; the Chaldean one uses
// only 1 to 8.
constexpr std::array<std::int8_t, 26> kPythagorean = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4,
                                                      5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<std::int8_t, 26> kChaldean = {1, 2, 3, 4, 5, 8, 3, 5, 1, 1, 2, 3, 4,
                                                   5, 7, 8, 1, 2, 3, 4, 6, 6, 6, 5, 1, 7};

const std::array<std::int8_t, 26>& TableOf(LetterSystem system) {
    switch (system) {
        case LetterSystem::Pythagorean: return kPythagorean;
        case LetterSystem::Chaldean: return kChaldean;
    }
    return kPythagorean;
}

bool IsVowelLetter(char16_t c) { return c == u'A' || c == u'E' || c == u'I' || c == u'O' || c == u'U'; }

}  // namespace

std::string_view DisplayName(LetterSystem system) {
    switch (system) {
        case LetterSystem::Pythagorean: return "Pythagorean";
        case LetterSystem::Chaldean: return "Chaldean";
    }
    return "Pythagorean";
}

std::optional<LetterSystem> LetterSystemFromName(std::string_view name) {
    auto equalsIgnoringCase = [name](std::string_view other) {
        if (name.size() != other.size()) return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            char a = name[i];
            if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
            char b = other[i];
            if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
            if (a != b) return false;
        }
        return true;
    };
    for (LetterSystem system : {LetterSystem::Pythagorean, LetterSystem::Chaldean}) {
        if (equalsIgnoringCase(DisplayName(system))) return system;
    }
    return std::nullopt;
}

LetterValue Classify(char16_t c, LetterSystem system) {
    const auto& table = TableOf(system);
    if (c >= u'A' && c <= u'Z') {
        return {IsVowelLetter(c) ? CharClass::Vowel : CharClass::Consonant, table[c - u'A']};
    }
    if (c == u'y') return {CharClass::Vowel, table[u'Y' - u'A']};
    if (c >= u'1' && c <= u'9') return {CharClass::Number, c - u'0'};
    return {};
}

const LetterEffects& LetterEffectsOf(LetterSystem system) {
    static const auto make = [](LetterSystem of) {
        LetterEffects effects;
        for (char16_t c = 0; c < effects.size(); ++c) {
            const LetterValue letter = Classify(c, of);
            const auto value = static_cast<std::uint8_t>(letter.value);
            LetterEffect& effect = effects[c];
            switch (letter.charClass) {
                case CharClass::Vowel: effect.vowel = value; break;
                case CharClass::Consonant: effect.consonant = value; break;
                case CharClass::Number: effect.number = value; break;
                case CharClass::Other: break;
            }
            if (effect.vowel) effect.vowelDigit = static_cast<char>('0' + effect.vowel);
            if (effect.consonant) effect.consonantDigit = static_cast<char>('0' + effect.consonant);
            effect.packed = effect.vowel | std::uint64_t{effect.consonant} << kLetterLaneBits |
                            std::uint64_t{effect.number} << 2 * kLetterLaneBits;
            if (effect.vowel) effect.vowelCount = std::uint64_t{1} << (effect.vowel - 1) * kCountLaneBits;
            if (effect.consonant) effect.consonantCount = std::uint64_t{1} << (effect.consonant - 1) * kCountLaneBits;
        }
        return effects;
    };
    static const LetterEffects pythagorean = make(LetterSystem::Pythagorean);
    static const LetterEffects chaldean = make(LetterSystem::Chaldean);
    switch (system) {
        case LetterSystem::Pythagorean: return pythagorean;
        case LetterSystem::Chaldean: return chaldean;
    }
    return pythagorean;
}

void AnalyseData(std::u16string_view data, LetterSystem system, AnalysisResult& result) {
    // A look-up and no branch per character: letters and other characters alternate at random in
    // a name, which branches would mispredict. The three sums are added in one packed word and
    // the chart's digits counted in two more, emptied after each block of characters before a
    // lane could overflow.
    const LetterEffects& effects = LetterEffectsOf(system);
    result.VowelRow.resize(data.size());
    result.ConsonantRow.resize(data.size());
    char* const vowelRow = result.VowelRow.data();
    char* const consonantRow = result.ConsonantRow.data();
    std::array<std::int32_t, 10> vowelCounts{};
    std::array<std::int32_t, 10> consonantCounts{};
    std::int64_t sums[3] = {};
    for (std::size_t start = 0; start < data.size(); start += kCountBlock) {
        const std::size_t end = std::min(data.size(), start + kCountBlock);
        std::uint64_t packed = 0;
        std::uint64_t vowelLanes = 0;
        std::uint64_t consonantLanes = 0;
        for (std::size_t i = start; i < end; ++i) {
            const LetterEffect& effect = EffectOf(effects, data[i]);
            packed += effect.packed;
            vowelLanes += effect.vowelCount;
            consonantLanes += effect.consonantCount;
            vowelRow[i] = effect.vowelDigit;
            consonantRow[i] = effect.consonantDigit;
        }
        for (int lane = 0; lane < 3; ++lane) sums[lane] += static_cast<std::int64_t>(packed >> lane * kLetterLaneBits & kLetterLaneMask);
        AddCountLanes(vowelLanes, vowelCounts);
        AddCountLanes(consonantLanes, consonantCounts);
    }
    // Slot 0: the characters without a value of that kind.
    const auto size = static_cast<std::int32_t>(std::min<std::size_t>(data.size(), INT32_MAX));
    vowelCounts[0] = size - std::accumulate(vowelCounts.begin() + 1, vowelCounts.end(), 0);
    consonantCounts[0] = size - std::accumulate(consonantCounts.begin() + 1, consonantCounts.end(), 0);
    // The sums stay within 32 bits for any text the field can hold; a longer one saturates.
    auto narrow = [](std::int64_t sum) { return static_cast<std::int32_t>(std::min<std::int64_t>(sum, INT32_MAX)); };
    result.VowelSum = narrow(sums[0]);
    result.ConsonantSum = narrow(sums[1]);
    result.NumberSum = narrow(sums[2]);
    result.GrandTotal = narrow(sums[0] + sums[1] + sums[2]);
    result.VowelCounts = vowelCounts;
    result.ConsonantCounts = consonantCounts;
}

AnalysisResult AnalyseData(std::u16string_view data, LetterSystem system) {
    AnalysisResult result;
    AnalyseData(data, system, result);
    return result;
}

}  // namespace quillon
