#include "numerology/LetterValues.h"

#include <array>

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

char DigitChar(int value) { return static_cast<char>('0' + value); }

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

AnalysisResult AnalyseData(std::u16string_view data, LetterSystem system) {
    AnalysisResult result;
    result.VowelRow.assign(data.size(), ' ');
    result.ConsonantRow.assign(data.size(), ' ');
    for (std::size_t i = 0; i < data.size(); ++i) {
        const LetterValue letter = Classify(data[i], system);
        switch (letter.charClass) {
            case CharClass::Vowel:
                result.VowelSum += letter.value;
                result.VowelRow[i] = DigitChar(letter.value);
                break;
            case CharClass::Consonant:
                result.ConsonantSum += letter.value;
                result.ConsonantRow[i] = DigitChar(letter.value);
                break;
            case CharClass::Number: result.NumberSum += letter.value; break;
            case CharClass::Other: break;
        }
    }
    result.GrandTotal = result.VowelSum + result.ConsonantSum + result.NumberSum;
    return result;
}

}  // namespace quillon
