#pragma once
// The analysis run of the analysis window, apart from its widgets: the window state it reads and
// writes, and the texts it puts into the result fields. The window and the command line both call
// RunAnalysis, so that they show the same results for the same data.

#include <cstdint>
#include <string>
#include <string_view>

#include "numerology/DigitChart.h"
#include "numerology/LetterValues.h"

namespace quillon {

// The data field holds at most this many characters (UTF-16 code units, as the field counts them).
inline constexpr int kMaxDataLength = 40;

// The window-wide state of the analysis window.
struct AnalysisState {
    LetterSystem letterSystem = LetterSystem::Pythagorean;
    // Accented letters are valued as their base letters (the person's choice, off by default).
    bool foldAccents = false;
    std::int32_t VowelSum = 0;
    std::int32_t ConsonantSum = 0;
    std::int32_t NumberSum = 0;
    std::int32_t GrandTotal = 0;
    // Unreduced total of the last date calculation; 0 means there is no date result.
    std::int32_t DateDigitSum = 0;
    // 1-based position of the Y the Y dialog is to ask about; 0 means none.
    int PendingYPosition = 0;
    // The last position the question walks to when it asks about several Ys (text pasted into the
    // field asks only about the Ys it brought); 0 means the end of the data.
    int PendingYEnd = 0;
    bool YFromTyping = false;
};

// What one analysis run writes into the window.
struct AnalysisShown {
    std::string vowels;      // the vowel row
    std::string consonants;  // the consonant row
    std::string vTotal;      // reduction chain of the vowel sum
    std::string cTotal;      // reduction chain of the consonant sum
    std::string total;       // reduction chain of the grand total
    DigitChart chart;        // counted from the two rows
    std::string nameDate;    // name-plus-date chain, or empty
};

// Analyses the data under the state's system, stores the four sums in the state and returns the
// texts for the result fields.
AnalysisShown RunAnalysis(AnalysisState& state, std::u16string_view data);

// The name-plus-date value: the chain of grandTotal + dateDigitSum when both are above 0, else empty.
std::string NameDateChain(std::int32_t grandTotal, std::int32_t dateDigitSum);

// The Paste command's normalisation: strip codes 0 to 32 at both ends, compose the text (NFC, so
// that E and a combining acute are the one letter É, valued as a typed É is), keep the first 40
// characters and upper-case a to z. The cut parts neither a surrogate pair nor a letter from its
// combining marks: what it would part is dropped whole. With foldAccents an accented lowercase y
// is upper-cased too, so that it is asked about as y is.
std::u16string NormalisePastedText(std::u16string_view text, bool foldAccents = false);

// The same for text inserted into the data by any other way of pasting: stripped, composed and
// upper-cased, then cut to the room that the field has left (at most `room` code units).
std::u16string NormaliseInsertedText(std::u16string_view text, int room, bool foldAccents = false);

// Text as it goes into the data when typed: composed (NFC), a to z as capitals and, with
// foldAccents, an accented lowercase y as its uppercase form, so that it is asked about as y is.
std::u16string TypedDataText(std::u16string_view text, bool foldAccents = false);

// 1-based position of the first Y the question is asked about (IsQuestionY), 0 when there is none.
int FirstYPosition(std::u16string_view text, bool foldAccents = false);

}  // namespace quillon
