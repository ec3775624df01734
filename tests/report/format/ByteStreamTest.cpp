#include "report/format/ByteStream.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <vector>

namespace quillon {
namespace {

TEST(LineLists, EncodedAsTheFormatSays) {
    ByteWriter out;
    out.LineList({});
    EXPECT_EQ(out.Bytes(), (std::vector<std::uint8_t>{0, 0, 0}));
    ByteWriter one;
    one.LineList({""});
    EXPECT_EQ(one.Bytes(), (std::vector<std::uint8_t>{1, 0, 0, 0, 0}));
    ByteWriter two;
    two.LineList({"ab", "c"});
    EXPECT_EQ(two.Bytes(), (std::vector<std::uint8_t>{2, 0, 2, 0, 'a', 'b', 13, 1, 0, 'c', 0}));

    const std::vector<std::uint8_t> empty = {0, 0, 0};
    ByteReader emptyIn(empty);
    EXPECT_TRUE(emptyIn.LineList().empty());
    EXPECT_TRUE(emptyIn.AtEnd());
    const std::vector<std::uint8_t> oneEmpty = {1, 0, 0, 0, 0};
    ByteReader oneIn(oneEmpty);
    EXPECT_EQ(oneIn.LineList(), std::vector<std::string>{""});
    EXPECT_TRUE(oneIn.AtEnd());
    // The count only tells empty from not empty: lines run until separator 0.
    const std::vector<std::uint8_t> miscounted = {1, 0, 1, 0, 'x', 13, 1, 0, 'y', 0};
    ByteReader miscountedIn(miscounted);
    EXPECT_EQ(miscountedIn.LineList(), (std::vector<std::string>{"x", "y"}));
}

TEST(Strings, TrailingByteFlagsAndCodePage) {
    ByteWriter out;
    out.String("Ab");
    out.Flag(true);
    out.Flag(false);
    out.String("\xc3\xa9\xe2\x82\xac");  // é and € in UTF-8
    EXPECT_EQ(out.Bytes(), (std::vector<std::uint8_t>{2, 0, 'A', 'b', 0, 0xFF, 0xFF, 0, 0, 2, 0, 0xE9, 0x80, 0}));
    ByteReader in(out.Bytes());
    EXPECT_EQ(in.String(), "Ab");
    EXPECT_TRUE(in.Flag());
    EXPECT_FALSE(in.Flag());
    EXPECT_EQ(in.String(), "\xc3\xa9\xe2\x82\xac");
    const std::vector<std::uint8_t> seven = {7, 0};
    ByteReader sevenIn(seven);
    EXPECT_TRUE(sevenIn.Flag()) << "any value but 0 is true";
}

TEST(Reader, NeverReadsPastTheEnd) {
    const std::vector<std::uint8_t> shortString = {5, 0, 'a', 'b'};
    ByteReader in(shortString);
    EXPECT_THROW(in.String(), StreamError);
    const std::vector<std::uint8_t> hugeLine = {1, 0, 0xFF, 0xFF, 'a'};
    ByteReader lineIn(hugeLine);
    EXPECT_THROW(lineIn.LineList(), StreamError);
    ByteReader emptyIn(std::span<const std::uint8_t>{});
    EXPECT_THROW(emptyIn.U8(), StreamError);
    EXPECT_THROW(emptyIn.Seek(1), StreamError);
}

}  // namespace
}  // namespace quillon
