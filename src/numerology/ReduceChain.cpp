#include "numerology/ReduceChain.h"

#include <array>
#include <charconv>

namespace quillon {

std::string ReduceChain(std::uint64_t n) {
    // Formats into a stack buffer: the longest chain, that of 2^64 - 1, is 267 characters.
    std::array<char, 400> buffer;
    char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    while (n >= 10) {
        n = ReduceStep(n);
        *end++ = ' ';
        *end++ = '/';
        *end++ = ' ';
        end = std::to_chars(end, buffer.data() + buffer.size(), n).ptr;
    }
    return std::string(buffer.data(), end);
}

const std::array<std::string, kSmallReduceChains>& SmallReduceChains() {
    static const std::array<std::string, kSmallReduceChains> chains = [] {
        std::array<std::string, kSmallReduceChains> table;
        for (std::size_t i = 0; i < table.size(); ++i) table[i] = ReduceChain(i);
        return table;
    }();
    return chains;
}

std::string_view ReduceChainView(std::uint64_t n, std::string& spill) {
    const auto& chains = SmallReduceChains();
    if (n < chains.size()) return chains[n];
    spill = ReduceChain(n);
    return spill;
}

}  // namespace quillon
