#include "support/NameGenerator.h"

#include <array>
#include <string_view>

namespace quillon {
namespace {

// Pieces of names; a few carry Ys, accented letters or letters of other scripts.
constexpr std::array<std::string_view, 48> kSyllables = {
    "ma", "ry", "jo", "an", "el", "iz", "a",  "be", "th", "yv", "on", "ne", "sa", "ly", "ky", "ro",
    "de", "ri", "ck", "ll", "er", "st", "ra", "ch", "ga", "li", "to", "mi", "ka", "us", "ha", "en",
    "wi", "qu", "ze", "xo", "fa", "pe", "ul", "go", "mü", "jé", "rô", "ña", "ø",  "ß",  "王", "😀"};

constexpr std::array<std::string_view, 4> kSeparators = {" ", " ", "-", "'"};

}  // namespace

// SplitMix64: small, fast and the same everywhere.
std::uint64_t NameGenerator::Random() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string NameGenerator::Word() {
    std::string word;
    const std::uint64_t syllables = 1 + Random() % 3;
    for (std::uint64_t i = 0; i < syllables; ++i) {
        // The plain syllables come up far more often than the accented ones and other scripts.
        const std::uint64_t pick = OneIn(8) ? Random() % kSyllables.size() : Random() % 40;
        word += kSyllables[pick];
    }
    if (!OneIn(6)) {
        for (char& c : word) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return word;
}

std::string NameGenerator::Next() {
    std::string name;
    if (OneIn(20)) name += OneIn(2) ? "  " : "\t ";
    const std::uint64_t words = OneIn(40) ? 6 + Random() % 6 : 1 + Random() % 3;
    for (std::uint64_t i = 0; i < words; ++i) {
        if (i > 0) name += kSeparators[Random() % kSeparators.size()];
        name += Word();
        if (OneIn(100)) name += '\x01';
    }
    if (OneIn(20)) name += " " + std::to_string(Random() % 3000);
    if (OneIn(20)) name += OneIn(2) ? " " : "\t";
    return name;
}

}  // namespace quillon
