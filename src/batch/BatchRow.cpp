#include "batch/BatchRow.h"

#include <cstring>

#include "common/Utf8.h"
#include "numerology/AccentFolding.h"
#include "numerology/DigitChart.h"
#include "numerology/LetterValues.h"
#include "numerology/ReduceChain.h"

namespace quillon::batch {
namespace {

template <typename Text>
void AnalyseTotalsOf(const Text& data, LetterSystem system, AnalysisState& state, DigitChart& chart) {
    const LetterEffects& effects = LetterEffectsOf(system);
    // Letters and other characters alternate at random in a name, which a branch per character
    // would mispredict: every character adds to slot 0 of the counts it does not belong to.
    std::array<int, 10> vowels{};
    std::array<int, 10> consonants{};
    std::int32_t vowelSum = 0;
    std::int32_t consonantSum = 0;
    std::int32_t numberSum = 0;
    for (const auto c : data) {
        const LetterEffect& effect =
            EffectOf(effects, static_cast<char16_t>(static_cast<std::make_unsigned_t<decltype(c)>>(c)));
        vowelSum += effect.vowel;
        consonantSum += effect.consonant;
        numberSum += effect.number;
        ++vowels[effect.vowel];
        ++consonants[effect.consonant];
    }
    state.VowelSum = vowelSum;
    state.ConsonantSum = consonantSum;
    state.NumberSum = numberSum;
    state.GrandTotal = vowelSum + consonantSum + numberSum;
    std::copy(vowels.begin() + 1, vowels.end(), chart.vowels.begin());
    std::copy(consonants.begin() + 1, consonants.end(), chart.consonants.begin());
}

bool IsAscii(std::string_view text) {
    // Eight bytes at a time: a name of a list is ASCII nearly always.
    std::size_t i = 0;
    std::uint64_t high = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + i, 8);
        high |= block;
    }
    for (; i < text.size(); ++i) high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080ULL) == 0;
}

}  // namespace

void AnalyseTotals(std::u16string_view data, LetterSystem system, AnalysisState& state, DigitChart& chart) {
    AnalyseTotalsOf(data, system, state, chart);
}

void AnalyseTotals(std::string_view asciiData, LetterSystem system, AnalysisState& state, DigitChart& chart) {
    AnalyseTotalsOf(asciiData, system, state, chart);
}

std::optional<int> FinalDigit(std::string_view chain) {
    if (chain.empty()) return std::nullopt;
    return chain.back() - '0';
}

RowAnalyser::RowAnalyser(const BatchOptions& options)
    : options_(options),
      needsCore_(options.NeedsCore()),
      effects_(LetterEffectsOf(options.system)),
      chains_(SmallReduceChains()) {
    for (std::size_t c = 0; c < typed_.size(); ++c) {
        typed_[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (options.vowelYAll) typed_['Y'] = typed_['y'] = 'y';
    if (options.date) fixedDate_ = DateValuesOf(*options.date, options.dateSettings);
}

void RowAnalyser::TakeAsciiName(std::string_view name, BatchRow& row) {
    // What NormalisePastedText does, on bytes (every ASCII byte is one code unit of the field),
    // and the analysis of the result in the same pass: a to z become capitals, Y takes the run's
    // answer, and each character's values are added in one packed word and its digits counted in
    // two more (40 characters fit easily in their lanes).
    while (!name.empty() && static_cast<unsigned char>(name.front()) <= 32) name.remove_prefix(1);
    while (!name.empty() && static_cast<unsigned char>(name.back()) <= 32) name.remove_suffix(1);
    name = name.substr(0, kMaxDataLength);
    row.dataText.resize(name.size());
    char* const text = row.dataText.data();
    static_assert(static_cast<std::size_t>(kMaxDataLength) <= kCountBlock);
    std::uint64_t packed = 0;
    std::uint64_t vowelLanes = 0;
    std::uint64_t consonantLanes = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = typed_[static_cast<unsigned char>(name[i])];
        text[i] = c;
        const LetterEffect& effect = effects_[static_cast<unsigned char>(c)];
        packed += effect.packed;
        vowelLanes += effect.vowelCount;
        consonantLanes += effect.consonantCount;
    }
    std::array<std::int32_t, 10> vowels{};
    std::array<std::int32_t, 10> consonants{};
    AddCountLanes(vowelLanes, vowels);
    AddCountLanes(consonantLanes, consonants);
    row.state.VowelSum = static_cast<std::int32_t>(packed & kLetterLaneMask);
    row.state.ConsonantSum = static_cast<std::int32_t>(packed >> kLetterLaneBits & kLetterLaneMask);
    row.state.NumberSum = static_cast<std::int32_t>(packed >> 2 * kLetterLaneBits & kLetterLaneMask);
    row.state.GrandTotal = row.state.VowelSum + row.state.ConsonantSum + row.state.NumberSum;
    row.chart = ChartOfCounts(vowels, consonants);
}

std::optional<std::string> RowAnalyser::TakeName(std::string_view name, BatchRow& row) {
    if (IsAscii(name)) {
        TakeAsciiName(name, row);
        return std::nullopt;
    }
    if (!Utf8ToUtf16(name, decoded_)) return std::string("invalid UTF-8");
    // The name as the Paste command puts it into the data field; there is no one to ask about
    // the Ys, so all of them take the one answer given for the run.
    const bool fold = options_.foldAccents;
    normalised_ = NormalisePastedText(decoded_, fold);
    if (options_.vowelYAll) {
        for (char16_t& c : normalised_) {
            if (IsQuestionY(c, fold)) c = VowelFormOfY(c);
        }
    }
    if (fold) {
        // A folded letter may add two letters' values (Æ): the window's own analysis counts it.
        AnalyseData(normalised_, options_.system, folded_, true);
        row.state.VowelSum = folded_.VowelSum;
        row.state.ConsonantSum = folded_.ConsonantSum;
        row.state.NumberSum = folded_.NumberSum;
        row.state.GrandTotal = folded_.GrandTotal;
        row.chart = ChartOfCounts(folded_.VowelCounts, folded_.ConsonantCounts);
    } else {
        AnalyseTotals(normalised_, options_.system, row.state, row.chart);
    }
    row.dataText.clear();
    AppendUtf16AsUtf8(row.dataText, normalised_);
    return std::nullopt;
}

std::optional<std::string> RowAnalyser::Analyse(std::string_view name, std::optional<std::string_view> dateText,
                                                BatchRow& row) {
    row.state = AnalysisState{};
    row.state.letterSystem = options_.system;
    if (auto error = TakeName(name, row)) return error;
    row.hasDate = false;
    row.date.reset();
    if (options_.date) {
        row.hasDate = true;
        row.date = options_.date;
        row.dates = fixedDate_.dates;
        row.dateTotals = fixedDate_.totals;
    } else if (dateText) {
        if (auto error = ReadRowDate(*dateText, row)) return error;
    }
    // What the analysis run writes into the window, after the date calculation.
    if (row.hasDate) row.state.DateDigitSum = row.dateTotals.dateDigitSum;
    row.vTotal = ChainOf(row.state.VowelSum, row.spill[0]);
    row.cTotal = ChainOf(row.state.ConsonantSum, row.spill[1]);
    row.total = ChainOf(row.state.GrandTotal, row.spill[2]);
    if (row.hasDate) {
        row.nameDate = NameDateChain(row.state.GrandTotal, row.state.DateDigitSum);
    } else {
        row.nameDate.clear();
    }
    if (needsCore_)
        row.core = CoreNumbersOf(row.state.VowelSum, row.state.ConsonantSum, row.state.GrandTotal, row.date);
    return std::nullopt;
}

std::string_view RowAnalyser::ChainOf(std::int32_t sum, std::string& spill) const {
    const auto n = static_cast<std::uint64_t>(sum);
    return n < chains_.size() ? std::string_view(chains_[n]) : ReduceChainView(n, spill);
}

std::optional<std::string> RowAnalyser::ReadRowDate(std::string_view text, BatchRow& row) {
    // An empty cell is a row without a date; the date field would read it as today, which a
    // list of names and dates never means.
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return std::nullopt;
    if (!Utf8ToUtf16(text, decoded_)) return std::string("invalid UTF-8 in the date");
    // Read strictly: a date that the date field would complete from today's or read in another
    // order would make the row's values change from day to day.
    const DateReading reading = ReadStrictDate(decoded_, options_.dateSettings, options_.today, options_.upperCaseDate);
    if (const auto* error = std::get_if<DateError>(&reading)) return error->message;
    DateValues values = DateValuesOf(std::get<CivilDate>(reading), options_.dateSettings);
    row.hasDate = true;
    row.date = values.date;
    row.dates = std::move(values.dates);
    row.dateTotals = std::move(values.totals);
    return std::nullopt;
}

std::optional<WhereKey> WhereKeyFromName(std::string_view name) {
    if (name == "vowels") return WhereKey::Vowels;
    if (name == "consonants") return WhereKey::Consonants;
    if (name == "total") return WhereKey::Total;
    if (name == "date") return WhereKey::Date;
    if (name == "namedate") return WhereKey::NameDate;
    return std::nullopt;
}

bool Keeps(const BatchRow& row, const std::vector<WhereClause>& where) {
    for (const WhereClause& clause : where) {
        std::optional<int> digit;
        switch (clause.key) {
            case WhereKey::Vowels: digit = FinalDigit(row.vTotal); break;
            case WhereKey::Consonants: digit = FinalDigit(row.cTotal); break;
            case WhereKey::Total: digit = FinalDigit(row.total); break;
            case WhereKey::Date:
                if (row.hasDate) digit = FinalDigit(row.dateTotals.dateTotal);
                break;
            case WhereKey::NameDate: digit = FinalDigit(row.nameDate); break;
            case WhereKey::Core:
                if (const std::optional<CoreNumber>& number = row.core[clause.core]) {
                    digit = clause.digit > 9 ? number->master : number->digit;
                }
                break;
        }
        if (digit != clause.digit) return false;
    }
    return true;
}

}  // namespace quillon::batch
