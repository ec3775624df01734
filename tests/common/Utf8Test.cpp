// Names that are no UTF-8 survive the way through UTF-16 byte for byte.

#include "common/Utf8.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(Utf8, BytesThatAreNoUtf8ComeBackAsTheyWere) {
    struct Case {
        std::string bytes;
        std::u16string text;
        bool utf8;
    };
    const Case cases[] = {
        {"report.rtf", u"report.rtf", true},
        {"Jos\xC3\xA9", u"Jos\u00E9", true},
        {"a\xFF.rtf", u"a\xDCFF.rtf", false},
        {"a\xFE.rtf", u"a\xDCFE.rtf", false},
        {"\xC3", u"\xDCC3", false},                              // a cut sequence
        {"\xE2\x82", u"\xDCE2\xDC82", false},                    // cut after two of three bytes
        {"\xC0\xAF", u"\xDCC0\xDCAF", false},                    // an overlong slash
        {"\xED\xB2\x80", u"\xDCED\xDCB2\xDC80", false},          // an encoded surrogate
        {"\xF0\x90\x82\x80", u"\xD800\xDC80", true},             // U+10080: its second half looks like a byte
        {"\xF0\x90\x82\x80\x80", u"\xD800\xDC80\xDC80", false},  // ... and then a stray byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BytesToUtf16Escaped(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(Utf16EscapedToBytes(c.text), c.bytes) << c.bytes;
        std::u16string decoded;
        EXPECT_EQ(Utf8ToUtf16(c.bytes, decoded), c.utf8) << c.bytes;
    }
    EXPECT_EQ(Utf16EscapedToBytes(u"a\xDC41"), "a\xEF\xBF\xBD") << "U+DC41 stands for no byte";
}

}  // namespace
}  // namespace quillon
