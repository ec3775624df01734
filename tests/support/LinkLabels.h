#pragma once
// What the tests of the hyperlink labels and of the links window share: the colours the window
// gives its links, and the check that a label is as wide as its text.

#include <QColor>
#include <QLabel>
#include <gtest/gtest.h>

namespace quillon::test {

inline const QColor kNavy{0, 0, 128};
inline const QColor kMaroon{128, 0, 0};
inline const QColor kRed{255, 0, 0};

// The label is just wide enough for its text: nothing cut off, no more than a pixel or two spare.
inline void ExpectFittedWidth(const QLabel& link) {
    const int textWidth = link.fontMetrics().horizontalAdvance(link.text());
    EXPECT_GE(link.width(), textWidth);
    EXPECT_LE(link.width(), textWidth + 2);
}

}  // namespace quillon::test
