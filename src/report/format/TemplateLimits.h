#pragma once
// The bounds of what a template may hold. A stream of 64 MiB can hold twenty million empty memo
// lines, which take ten times their stream size once read, and preparation copies, expands and
// wraps that text again; the carried templates hold one page, 53 objects and a few dozen short
// lines. A template beyond these bounds is refused when it is read, and before a template changed
// in memory is laid out, so that no template within them needs more than a few hundred
// megabytes to read, prepare, export or print (the run's own bounds are in the engine's
// LayoutLimits.h).

#include <cstddef>
#include <optional>
#include <string>

#include "report/format/Template.h"

namespace quillon {

inline constexpr const char* kTooLargeTemplate = "The template is too large: ";

// Objects name their page in one byte, so a page after the 256th could hold none.
inline constexpr std::size_t kMaxTemplatePages = 256;
// Two hundred times the objects of the print template.
inline constexpr std::size_t kMaxTemplateObjects = 10000;
// A memo of more lines than this would run over a hundred pages on its own.
inline constexpr std::size_t kMaxMemoLines = 10000;
// Lines in all: of memos, of the objects' and pages' scripts, and the template's variables.
inline constexpr std::size_t kMaxTemplateLines = 100000;
// Bytes of text in all (UTF-8, as held in memory): lines, names, tags, conditions, variables.
inline constexpr std::size_t kMaxTemplateTextBytes = std::size_t{4} << 20;

// What a template holds, counted against the bounds.
struct TemplateSize {
    std::size_t pages = 0, objects = 0, lines = 0, textBytes = 0;
    // The first memo of more than kMaxMemoLines lines: its page, its place in the page's objects
    // and its lines.
    struct LongMemo {
        std::size_t page = 0, object = 0, lines = 0;
    };
    std::optional<LongMemo> longMemo;
};
TemplateSize SizeOf(const ReportTemplate& report);

// What is too large, as "The template is too large: page 1, memo "Memo3" holds 65535 lines, at
// most 10000 are laid out", or nothing for a template within the bounds. The bounds are taken in
// this order: pages, objects, the lines of one memo, lines in all, text in all. A reader passes
// what it counted, which includes what it did not keep; without it the template is counted.
std::optional<std::string> OversizedTemplate(const ReportTemplate& report, const TemplateSize& counted);
std::optional<std::string> OversizedTemplate(const ReportTemplate& report);

}  // namespace quillon
