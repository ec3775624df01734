#include "numerology/Analysis.h"

#include <algorithm>

#include "numerology/AccentFolding.h"
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
    shown.constants = std::move(result.ConsonantRow);
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

std::u16string NormaliseInsertedText(std::u16string_view text, int room, bool foldAccents) {
    auto isTrimmed = [](char16_t c) { return c <= 32; };
    while (!text.empty() && isTrimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back())) text.remove_suffix(1);

    std::size_t length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(std::max(room, 0)));
    const bool splitsPair = length < text.size() && length > 0 && text[length - 1] >= 0xD800 &&
                            text[length - 1] <= 0xDBFF;
    if (splitsPair) --length;

    std::u16string result(text.substr(0, length));
    for (char16_t& c : result) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (foldAccents) c = QuestionFormOfY(c);
    }
    return result;
}

std::u16string NormalisePastedText(std::u16string_view text, bool foldAccents) {
    return NormaliseInsertedText(text, kMaxDataLength, foldAccents);
}

int FirstYPosition(std::u16string_view text, bool foldAccents) {
    const auto at = std::find_if(text.begin(), text.end(), [foldAccents](char16_t c) { return IsQuestionY(c, foldAccents); });
    return at == text.end() ? 0 : static_cast<int>(at - text.begin()) + 1;
}

}  // namespace quillon
