#include "numerology/Analysis.h"

#include <algorithm>

#include "numerology/AccentFolding.h"
#include "numerology/Nfc.h"
#include "numerology/ReduceChain.h"

namespace quillon {

AnalysisShown RunAnalysis(AnalysisState& state, std::u16string_view data) {
    AnalysisResult result = AnalyseData(data, state.letterSystem, state.foldAccents);
    state.VowelSum = result.VowelSum;
    state.ConsonantSum = result.ConsonantSum;
    state.NumberSum = result.NumberSum;
    state.GrandTotal = result.GrandTotal;

    AnalysisShown shown;
    shown.chart = ChartOfCounts(result.VowelCounts, result.ConsonantCounts);
    shown.vowels = std::move(result.VowelRow);
    shown.consonants = std::move(result.ConsonantRow);
    shown.vTotal = ReduceChain(static_cast<std::uint64_t>(state.VowelSum));
    shown.cTotal = ReduceChain(static_cast<std::uint64_t>(state.ConsonantSum));
    shown.total = ReduceChain(static_cast<std::uint64_t>(state.GrandTotal));
    shown.nameDate = NameDateChain(state.GrandTotal, state.DateDigitSum);
    return shown;
}

std::string NameDateChain(std::int32_t grandTotal, std::int32_t dateDigitSum) {
    if (grandTotal <= 0 || dateDigitSum <= 0) return {};
    return ReduceChain(static_cast<std::uint64_t>(grandTotal) + static_cast<std::uint64_t>(dateDigitSum));
}

namespace {

// a to z as capitals and, with foldAccents, an accented lowercase y as its uppercase form; true
// when anything changed.
bool UpperCaseTyped(std::u16string& text, bool foldAccents) {
    bool changed = false;
    for (char16_t& c : text) {
        const char16_t was = c;
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (foldAccents) c = QuestionFormOfY(c);
        changed = changed || c != was;
    }
    return changed;
}

}  // namespace

std::u16string NormaliseInsertedText(std::u16string_view text, int room, bool foldAccents) {
    auto isTrimmed = [](char16_t c) { return c <= 32; };
    while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);
    const auto length = static_cast<std::size_t>(std::max(room, 0));

    // Nearly every text: nothing in what is kept, nor in the code unit after it, is composed or
    // joins what stands before it, so the rest cannot change what is kept. Only a surrogate pair
    // is to be kept whole.
    if (ComposesAsItIs(text.substr(0, std::min(text.size(), length + 1)))) {
        std::size_t kept = std::min(text.size(), length);
        if (kept < text.size() && kept > 0 && text[kept - 1] >= 0xD800 && text[kept - 1] <= 0xDBFF) --kept;
        std::u16string result(text.substr(0, kept));
        UpperCaseTyped(result, foldAccents);
        return result;
    }
    // Composed before it is cut, so that a letter and its combining marks stay together. Only the
    // start of a long text is composed: four code units compose into one at most, and the text
    // can be parted before any code unit below U+0300, which nothing before it combines with.
    const std::size_t enough = 4 * length + 64;
    if (text.size() > enough) {
        const auto parting = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(enough), text.end(),
                                          [](char16_t c) { return c < 0x300; });
        text = text.substr(0, static_cast<std::size_t>(parting - text.begin()));
    }
    std::u16string result = TypedDataText(text, foldAccents);
    result.resize(CutBeforeMarks(result, length));
    return result;
}

std::u16string TypedDataText(std::u16string_view text, bool foldAccents) {
    std::u16string result = ComposeText(text);
    // A capital may compose where its small letter does not (I and a dot above make İ).
    if (UpperCaseTyped(result, foldAccents) && !ComposesAsItIs(result)) result = ComposeText(result);
    return result;
}

std::u16string NormalisePastedText(std::u16string_view text, bool foldAccents) {
    return NormaliseInsertedText(text, kMaxDataLength, foldAccents);
}

int FirstYPosition(std::u16string_view text, bool foldAccents) {
    const auto at =
        std::find_if(text.begin(), text.end(), [foldAccents](char16_t c) { return IsQuestionY(c, foldAccents); });
    return at == text.end() ? 0 : static_cast<int>(at - text.begin()) + 1;
}

}  // namespace quillon
