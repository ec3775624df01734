#include "numerology/ReduceChain.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace quillon {
namespace {

TEST(ReduceChain, TableOfChains) {
    const std::pair<std::uint64_t, const char*> table[] = {
        {0, "0"},
        {7, "7"},
        {10, "10 / 1"},
        {11, "11 / 2"},
        {19, "19 / 10 / 1"},
        {22, "22 / 4"},
        {29, "29 / 11 / 2"},
        {33, "33 / 6"},
        {199, "199 / 28 / 10 / 1"},
        {360, "360 / 36 / 9"},
        {1234, "1234 / 127 / 19 / 10 / 1"},
        {4294967295u, "4294967295 / 429496734 / 42949677 / 4294974 / 429501 / 42951 / 4296 / 435 / 48 / 12 / 3"},
    };
    for (const auto& [n, chain] : table) EXPECT_EQ(ReduceChain(n), chain) << n;
}

TEST(ReduceChain, EndsOnTheDigitalRoot) {
    for (std::uint64_t n = 1; n < 5000; ++n) {
        const std::string chain = ReduceChain(n);
        const int last = chain.back() - '0';
        EXPECT_EQ(last, static_cast<int>(1 + (n - 1) % 9)) << chain;
    }
    EXPECT_EQ(ReduceChain(UINT64_MAX),
              "18446744073709551615 / 1844674407370955166 / 184467440737095522 / 18446744073709554 / "
              "1844674407370959 / 184467440737104 / 18446744073714 / 1844674407375 / 184467440742 / "
              "18446744076 / 1844674413 / 184467444 / 18446748 / 1844682 / 184470 / 18447 / 1851 / 186 / 24 / 6");
}

}  // namespace
}  // namespace quillon
