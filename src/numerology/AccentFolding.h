#pragma once
// Accented letters valued as their base letters, when the person asks for it: É and é as E, Æ as
// A and E, ý as a vowel Y. The data keeps the letters as typed; only their values change.

#include <span>
#include <string_view>

namespace quillon {

// The base letters a code unit is valued as: "E" for É and é, "AE" for Æ, "SS" for ß, "y" for a
// lowercase accented y (a Y read as a vowel, as a lowercase y is) and "Y" for an uppercase one.
// Empty for every code unit that is no accented letter, ASCII included.
std::string_view FoldedLetters(char16_t c);

// Every code unit that folds with its base letters, by code.
struct FoldedLetter {
    char16_t code;
    const char* letters;
};
std::span<const FoldedLetter> FoldedLetterTable();

// Whether the question about Y is asked for this code unit: an uppercase Y, and with folding an
// uppercase accented Y (Ý, Ÿ, Ỳ, ...).
bool IsQuestionY(char16_t c, bool foldAccents);

// The form a Y takes when the person reads it as a vowel: y for Y, ý for Ý. Any other code unit
// is returned as it is.
char16_t VowelFormOfY(char16_t c);

// The form of a Y that is asked about: Y for y, Ý for ý. Any other code unit is returned as it is.
char16_t QuestionFormOfY(char16_t c);

}  // namespace quillon
