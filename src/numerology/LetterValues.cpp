#include "numerology/LetterValues.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "numerology/AccentFolding.h"
#include "numerology/ReduceChain.h"

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

namespace {

// The row digit of a value: the last of its reduction chain (a single letter's value is its own).
int RowDigit(int value) {
    while (value >= 10) value = static_cast<int>(ReduceStep(static_cast<std::uint64_t>(value)));
    return value;
}

// The effect of letters that stand in one position: their values added by kind.
LetterEffect EffectOfLetters(std::u16string_view letters, LetterSystem system) {
    LetterEffect effect;
    for (const char16_t c : letters) {
        const LetterValue letter = Classify(c, system);
        const auto value = static_cast<std::uint8_t>(letter.value);
        switch (letter.charClass) {
            case CharClass::Vowel: effect.vowel += value; break;
            case CharClass::Consonant: effect.consonant += value; break;
            case CharClass::Number: effect.number += value; break;
            case CharClass::Other: break;
        }
    }
    const int vowelDigit = RowDigit(effect.vowel);
    const int consonantDigit = RowDigit(effect.consonant);
    if (vowelDigit) effect.vowelDigit = static_cast<char>('0' + vowelDigit);
    if (consonantDigit) effect.consonantDigit = static_cast<char>('0' + consonantDigit);
    effect.packed = effect.vowel | std::uint64_t{effect.consonant} << kLetterLaneBits |
                    std::uint64_t{effect.number} << 2 * kLetterLaneBits;
    if (vowelDigit) effect.vowelCount = std::uint64_t{1} << (vowelDigit - 1) * kCountLaneBits;
    if (consonantDigit) effect.consonantCount = std::uint64_t{1} << (consonantDigit - 1) * kCountLaneBits;
    return effect;
}

// The effects of the code units from 128 up that fold, by code, for one system.
struct FoldedEffect {
    char16_t code;
    LetterEffect effect;
};

std::vector<FoldedEffect> MakeFoldedEffects(LetterSystem system) {
    std::vector<FoldedEffect> effects;
    for (const FoldedLetter& fold : FoldedLetterTable()) {
        const std::string_view letters = fold.letters;
        effects.push_back({fold.code, EffectOfLetters(std::u16string(letters.begin(), letters.end()), system)});
    }
    return effects;
}

}  // namespace

const LetterEffect& FoldedEffectOf(LetterSystem system, char16_t c) {
    static const std::vector<FoldedEffect> pythagorean = MakeFoldedEffects(LetterSystem::Pythagorean);
    static const std::vector<FoldedEffect> chaldean = MakeFoldedEffects(LetterSystem::Chaldean);
    static constexpr LetterEffect kOther;
    const std::vector<FoldedEffect>& effects = system == LetterSystem::Chaldean ? chaldean : pythagorean;
    const auto found = std::lower_bound(effects.begin(), effects.end(), c,
                                        [](const FoldedEffect& entry, char16_t code) { return entry.code < code; });
    return found != effects.end() && found->code == c ? found->effect : kOther;
}

const LetterEffects& LetterEffectsOf(LetterSystem system) {
    static const auto make = [](LetterSystem of) {
        LetterEffects effects;
        for (char16_t c = 0; c < effects.size(); ++c) effects[c] = EffectOfLetters(std::u16string_view(&c, 1), of);
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

void AnalyseData(std::u16string_view data, LetterSystem system, AnalysisResult& result, bool foldAccents) {
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
            const char16_t c = data[i];
            const LetterEffect& effect =
                c < effects.size() || !foldAccents ? EffectOf(effects, c) : FoldedEffectOf(system, c);
            packed += effect.packed;
            vowelLanes += effect.vowelCount;
            consonantLanes += effect.consonantCount;
            vowelRow[i] = effect.vowelDigit;
            consonantRow[i] = effect.consonantDigit;
        }
        for (int lane = 0; lane < 3; ++lane)
            sums[lane] += static_cast<std::int64_t>(packed >> lane * kLetterLaneBits & kLetterLaneMask);
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

AnalysisResult AnalyseData(std::u16string_view data, LetterSystem system, bool foldAccents) {
    AnalysisResult result;
    AnalyseData(data, system, result, foldAccents);
    return result;
}

}  // namespace quillon
