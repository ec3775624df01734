#include "numerology/Nfc.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

namespace quillon {
namespace {

struct CombiningRange {
    char32_t first;
    char32_t last;
    std::uint8_t combiningClass;
};

struct Decomposition {
    char32_t code;
    char32_t first;
    char32_t second;  // 0 for a decomposition into one code point
};

struct Composition {
    char32_t first;
    char32_t second;
    char32_t composite;
};

#include "numerology/NfcTable.inc"

// The first code unit that may need a look: every combining mark, every decomposable letter that
// is no composite of its own and every second part of a composition lies at or above it.
constexpr char16_t kFirstUnitToLookAt = 0x0300;

// Hangul syllables decompose into their jamo by arithmetic (Unicode, chapter 3.12).
constexpr char32_t kSyllableBase = 0xAC00;
constexpr char32_t kLeadBase = 0x1100;
constexpr char32_t kVowelBase = 0x1161;
constexpr char32_t kTrailBase = 0x11A7;
constexpr char32_t kLeadCount = 19;
constexpr char32_t kVowelCount = 21;
constexpr char32_t kTrailCount = 28;
constexpr char32_t kSyllableCount = kLeadCount * kVowelCount * kTrailCount;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point that starts at `at` and how many units it takes; a lone surrogate is a code
// point of its own.
char32_t CodeAt(std::u16string_view text, std::size_t at, std::size_t& units) {
    const char16_t unit = text[at];
    if (IsHighSurrogate(unit) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
        units = 2;
        return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[at + 1] - 0xDC00);
    }
    units = 1;
    return unit;
}

void Decompose(char32_t code, std::vector<char32_t>& out) {
    if (code >= kSyllableBase && code < kSyllableBase + kSyllableCount) {
        const char32_t index = code - kSyllableBase;
        out.push_back(kLeadBase + index / (kVowelCount * kTrailCount));
        out.push_back(kVowelBase + index % (kVowelCount * kTrailCount) / kTrailCount);
        if (index % kTrailCount != 0) out.push_back(kTrailBase + index % kTrailCount);
        return;
    }
    const auto* const end = std::end(kDecompositions);
    const auto* const found = std::lower_bound(std::begin(kDecompositions), end, code,
                                               [](const Decomposition& entry, char32_t c) { return entry.code < c; });
    if (found == end || found->code != code) {
        out.push_back(code);
        return;
    }
    // A step may lead to a letter that decomposes again (Ǻ to Å and an acute, Å to A and a ring).
    Decompose(found->first, out);
    if (found->second != 0) Decompose(found->second, out);
}

// The composite of a starter and what follows it, or 0 when the two do not compose.
char32_t ComposePair(char32_t first, char32_t second) {
    if (first >= kLeadBase && first < kLeadBase + kLeadCount && second >= kVowelBase &&
        second < kVowelBase + kVowelCount) {
        return kSyllableBase + ((first - kLeadBase) * kVowelCount + (second - kVowelBase)) * kTrailCount;
    }
    const bool syllableWithoutTrail =
        first >= kSyllableBase && first < kSyllableBase + kSyllableCount && (first - kSyllableBase) % kTrailCount == 0;
    if (syllableWithoutTrail && second > kTrailBase && second < kTrailBase + kTrailCount) {
        return first + (second - kTrailBase);
    }
    const Composition key{first, second, 0};
    const auto* const end = std::end(kCompositions);
    const auto* const found =
        std::lower_bound(std::begin(kCompositions), end, key, [](const Composition& a, const Composition& b) {
            return a.first != b.first ? a.first < b.first : a.second < b.second;
        });
    return found != end && found->first == first && found->second == second ? found->composite : 0;
}

void AppendUtf16(char32_t code, std::u16string& out) {
    if (code < 0x10000) {
        out += static_cast<char16_t>(code);
        return;
    }
    out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
}

// The code units that may change in composition or combine with what stands before them: the
// combining marks, the letters that decompose into something other than themselves composed
// again (the angstrom sign, letters excluded from composition), the second parts of the pairs
// that compose and the Hangul vowels and trailing consonants; for a code point outside the BMP
// its high surrogate. Text without them is composed as it stands, a look per code unit.
class UnitsToLookAt {
public:
    UnitsToLookAt() {
        for (const CombiningRange& range : kCombiningRanges) {
            for (char32_t code = range.first; code <= range.last; ++code) Mark(code);
        }
        for (const Decomposition& entry : kDecompositions) {
            if (entry.second == 0 || ComposePair(entry.first, entry.second) != entry.code) Mark(entry.code);
        }
        for (const Composition& pair : kCompositions) Mark(pair.second);
        for (char32_t code = kVowelBase; code < kVowelBase + kVowelCount; ++code) Mark(code);
        for (char32_t code = kTrailBase + 1; code < kTrailBase + kTrailCount; ++code) Mark(code);
    }

    bool Holds(char16_t unit) const { return (bits_[unit >> 6] >> (unit & 63) & 1) != 0; }

private:
    void Mark(char32_t code) {
        const auto unit = static_cast<char16_t>(code < 0x10000 ? code : 0xD800 + ((code - 0x10000) >> 10));
        bits_[unit >> 6] |= std::uint64_t{1} << (unit & 63);
    }

    std::array<std::uint64_t, 0x10000 / 64> bits_{};
};

const UnitsToLookAt& UnitsToLook() {
    static const UnitsToLookAt units;
    return units;
}

}  // namespace

int CombiningClassOf(char32_t code) {
    if (code < kFirstUnitToLookAt) return 0;
    const auto* const end = std::end(kCombiningRanges);
    const auto* const found = std::lower_bound(std::begin(kCombiningRanges), end, code,
                                               [](const CombiningRange& range, char32_t c) { return range.last < c; });
    return found != end && found->first <= code ? found->combiningClass : 0;
}

bool ComposesAsItIs(std::u16string_view text) {
    // The largest code unit first, in a loop without a branch that the compiler can widen: most
    // texts that are not ASCII are Latin and end here.
    char16_t largest = 0;
    for (const char16_t unit : text) largest = std::max(largest, unit);
    if (largest < kFirstUnitToLookAt) return true;
    const UnitsToLookAt& look = UnitsToLook();
    return std::none_of(text.begin(), text.end(),
                        [&look](char16_t unit) { return unit >= kFirstUnitToLookAt && look.Holds(unit); });
}

std::u16string ComposeText(std::u16string_view text) {
    if (ComposesAsItIs(text)) return std::u16string(text);

    // The full canonical decomposition. The buffers are kept from text to text of the thread.
    thread_local std::vector<char32_t> points;
    thread_local std::vector<int> classes;
    points.clear();
    for (std::size_t at = 0, units = 0; at < text.size(); at += units) Decompose(CodeAt(text, at, units), points);

    // The marks after each starter in the canonical order: by class, those of one class as given.
    classes.resize(points.size());
    std::transform(points.begin(), points.end(), classes.begin(), CombiningClassOf);
    for (std::size_t i = 1; i < points.size(); ++i) {
        for (std::size_t j = i; j > 0 && classes[j] != 0 && classes[j - 1] > classes[j]; --j) {
            std::swap(points[j], points[j - 1]);
            std::swap(classes[j], classes[j - 1]);
        }
    }

    // Each character joins the last starter before it unless a character between them blocks it:
    // a starter, or a mark of the same or a higher class.
    std::size_t kept = 0;  // points[0, kept) is the composed text so far
    std::size_t starter = 0;
    bool haveStarter = false;
    int lastClass = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const char32_t code = points[i];
        const int combiningClass = classes[i];
        const bool adjacent = haveStarter && starter + 1 == kept;
        if (haveStarter && (adjacent || (lastClass != 0 && lastClass < combiningClass))) {
            if (const char32_t composite = ComposePair(points[starter], code)) {
                points[starter] = composite;
                continue;
            }
        }
        if (combiningClass == 0) {
            starter = kept;
            haveStarter = true;
        }
        lastClass = combiningClass;
        points[kept++] = code;
    }

    std::u16string composed;
    composed.reserve(kept);
    for (std::size_t i = 0; i < kept; ++i) AppendUtf16(points[i], composed);
    return composed;
}

std::size_t CutBeforeMarks(std::u16string_view text, std::size_t length) {
    if (length >= text.size()) return text.size();
    std::size_t cut = length;
    if (cut > 0 && IsLowSurrogate(text[cut]) && IsHighSurrogate(text[cut - 1])) --cut;
    const std::size_t plain = cut;
    std::size_t units = 0;
    while (cut > 0 && CombiningClassOf(CodeAt(text, cut, units)) != 0) {
        --cut;
        if (cut > 0 && IsLowSurrogate(text[cut]) && IsHighSurrogate(text[cut - 1])) --cut;
    }
    return cut > 0 ? cut : plain;
}

}  // namespace quillon
