#pragma once
// The bounds of one preparation. A template within its own bounds (TemplateLimits.h) can still
// multiply its text as it is laid out: a bracketed name that stands for a whole memo, variables
// that each add the one before to itself, a long line wrapped a word a line, a page header
// repeated on every page of a band split over thousands of pages. Preparation stops with "The
// template is too large to lay out: ..." once the prepared pages would hold more than these
// bounds, as it stops at the most pages (kMaxPreparedPages), so that the pages of any template
// take at most a few hundred megabytes to prepare, export or print. The analysis reports prepare
// about a hundred lines and two kilobytes; ten thousand pages of sixty lines (16 MB) fit.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace quillon {

inline constexpr const char* kTooLargeToLayOut = "The template is too large to lay out: ";

// Lines of text on all prepared pages, wrapped to their memos' widths as they are drawn and
// exported: each is a text the printer draws and a record the export keeps while it writes the
// page.
inline constexpr std::size_t kMaxPreparedLines = 1000000;
// Bytes of all prepared pages: the objects in their printing form, their text included.
inline constexpr std::size_t kMaxPreparedBytes = std::size_t{32} << 20;
// Names and expressions worked out in one preparation: values that refer to others can take
// exponential time without growing at all.
inline constexpr std::size_t kMaxValuesWorkedOut = 10000000;

// Thrown where preparation passes a bound; the message is the error box's, whole.
class LayoutTooLarge : public std::runtime_error {
public:
    explicit LayoutTooLarge(const std::string& what) : std::runtime_error(kTooLargeToLayOut + what) {}
};

}  // namespace quillon
