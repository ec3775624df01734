#include "report/format/AnsiText.h"

#include <gtest/gtest.h>
#include <string>

#include "common/Utf8.h"

namespace quillon {
namespace {

// Template text is stored in code page 1252. Every byte, alone and amid runs of ASCII of every
// length around the eight-byte blocks the conversion looks at, converts to its code point and back.
TEST(AnsiText, EveryByteBothWaysAmidAsciiRuns) {
    constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t code = byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : static_cast<char32_t>(byte);
        std::string encoded;
        AppendUtf8(encoded, code);
        for (std::size_t before : {0, 1, 7, 8, 9, 16, 17}) {
            for (std::size_t after : {0, 3, 8, 12}) {
                const std::string ansi = std::string(before, 'a') + static_cast<char>(byte) + std::string(after, 'z') +
                                         (byte % 3 == 0 ? "\xE9" : "");
                const std::string utf8 = AnsiToUtf8(ansi);
                ASSERT_EQ(utf8, std::string(before, 'a') + encoded + std::string(after, 'z') +
                                    (byte % 3 == 0 ? "\xC3\xA9" : ""))
                    << byte << ' ' << before << ' ' << after;
                ASSERT_EQ(Utf8ToAnsi(utf8), ansi) << byte << ' ' << before << ' ' << after;
            }
        }
    }
    // Text the code page cannot hold becomes a question mark.
    EXPECT_EQ(Utf8ToAnsi("abcdefgh\xE2\x82\xACi\xE4\xB8\xAD"), "abcdefgh\x80i?");
}

}  // namespace
}  // namespace quillon
