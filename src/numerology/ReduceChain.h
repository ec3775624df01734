#pragma once
// The reduction chain: a number followed by the steps that take it down to one digit, as text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// One step splits off the last digit and adds it to the number the other digits form, so 199 goes
// to 19 + 9 = 28, not to the digit sum 19: "199 / 28 / 10 / 1". No number is held back, 11, 22 and
// 33 included. 0 gives "0".
std::string ReduceChain(std::uint64_t n);

// One step of the chain: 199 to 28.
constexpr std::uint64_t ReduceStep(std::uint64_t n) { return n / 10 + n % 10; }

// The chains of 0 to 511, made once: a data text of 40 characters sums to at most 360.
inline constexpr std::size_t kSmallReduceChains = 512;
const std::array<std::string, kSmallReduceChains>& SmallReduceChains();

// The same as ReduceChain without making a string for the sums a name can have. A larger n is
// written into spill, which the view then points into.
std::string_view ReduceChainView(std::uint64_t n, std::string& spill);

}  // namespace quillon
