#pragma once
// Unicode's canonical composed form (NFC) of UTF-16 text: a letter typed with separate combining
// marks (E and U+0301) becomes the one composed letter (É) that a keyboard types, so that the same
// visible text has the same code units and so the same values. Tables from tools/make-nfc-table.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// The text in NFC. A lone surrogate stays as it is.
std::u16string ComposeText(std::u16string_view text);

// Whether the text is surely in NFC already, the case of nearly all names: no code unit is a
// combining mark, a letter that composition changes or one that may join the letter before it.
// One look per code unit; false says only that ComposeText has to work.
bool ComposesAsItIs(std::u16string_view text);

// The canonical combining class of a code point: 0 for a starter, above 0 for a combining mark
// that follows its letter.
int CombiningClassOf(char32_t code);

// The length of a prefix of at most `length` code units that does not part a character from the
// combining marks that follow it, nor a surrogate pair; `length` itself when the text ends there
// or the cut parts nothing. A character followed by more marks than the length allows is cut
// after its first marks rather than dropped.
std::size_t CutBeforeMarks(std::u16string_view text, std::size_t length);

}  // namespace quillon
