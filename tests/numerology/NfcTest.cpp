#include "numerology/Nfc.h"

#include <gtest/gtest.h>

#include "common/Utf8.h"

namespace quillon {
namespace {

TEST(ComposeText, CanonicalComposition) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"JOSE\u0301", u"JOS\u00c9"},
        {u"JOS\u00c9", u"JOS\u00c9"},
        {u"Y\u0308", u"\u0178"},
        {u"A\u030a\u0301", u"\u01fa"},  // two marks, one after the other
        {u"E\u0323\u0302", u"\u1ec6"},  // marks in either order give the same letter
        {u"E\u0302\u0323", u"\u1ec6"},
        {u"Q\u0323\u0301", u"Q\u0323\u0301"},  // no composite: the marks keep their order
        {u"Q\u0301\u0323", u"Q\u0323\u0301"},
        {u"\u0301E", u"\u0301E"},                  // a mark with no letter before it
        {u"\u212b\u2126", u"\u00c5\u03a9"},        // the angstrom and ohm signs are letters
        {u"\u0915\u093c", u"\u0915\u093c"},        // excluded from composition
        {u"\U0001D15E", u"\U0001D157\U0001D165"},  // outside the BMP, excluded too
        {u"\u1100\u1161\u11a8", u"\uac01"},        // Hangul by arithmetic
        {u"E\xd800\u0301", u"E\xd800\u0301"},      // a lone surrogate stays and blocks
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(ComposeText(input), expected) << Utf16ToUtf8(input);
    }
}

}  // namespace
}  // namespace quillon
