#include "numerology/AccentFolding.h"

#include <algorithm>
#include <iterator>

namespace quillon {
namespace {

struct YPair {
    char16_t question;  // uppercase: asked about
    char16_t vowel;     // lowercase: read as a vowel
};

#include "numerology/FoldTable.inc"

}  // namespace

std::span<const FoldedLetter> FoldedLetterTable() { return kFoldTable; }

std::string_view FoldedLetters(char16_t c) {
    if (c < 0x80) return {};
    const auto* const end = std::end(kFoldTable);
    const auto* const found = std::lower_bound(
        std::begin(kFoldTable), end, c, [](const FoldedLetter& entry, char16_t code) { return entry.code < code; });
    return found != end && found->code == c ? std::string_view(found->letters) : std::string_view();
}

bool IsQuestionY(char16_t c, bool foldAccents) { return c == u'Y' || (foldAccents && FoldedLetters(c) == "Y"); }

char16_t VowelFormOfY(char16_t c) {
    if (c == u'Y') return u'y';
    for (const YPair& pair : kAccentedYs) {
        if (pair.question == c) return pair.vowel;
    }
    return c;
}

char16_t QuestionFormOfY(char16_t c) {
    if (c == u'y') return u'Y';
    for (const YPair& pair : kAccentedYs) {
        if (pair.vowel == c) return pair.question;
    }
    return c;
}

}  // namespace quillon
