#pragma once
// The output of one object during preparation: a memo expands its bracketed names, takes its
// highlight when the condition holds, expands its tag and leaves out a repeat of its last text when
// it suppresses repeats; then the object goes into the prepared page with its final text and
// position. Errors inside an object are thrown as ReportError.

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "report/engine/NameLookup.h"
#include "report/engine/Report.h"

namespace quillon {

class ObjectOutput {
public:
    // The scratch canvas wraps each memo's text, to count the lines the pages take.
    ObjectOutput(TfrReport& report, NameLookup& lookup, RunPlace& place, Canvas& scratch)
        : report_(report), lookup_(lookup), place_(place), scratch_(scratch) {}

    // The memo's lines with their names expanded, or the text OnBeforePrint gives instead. A text
    // worked out ahead (to measure a stretched band) is taken from there, so every name is asked
    // for once.
    std::vector<std::string> ExpandedText(TfrMemoView& memo);
    // Keeps a memo's expanded text for its output.
    void KeepExpanded(const TfrMemoView& memo, std::vector<std::string> text);

    // Outputs the object onto the prepared page being built, moved by (dx, dy); a position beyond
    // an int saturates.
    void Output(TfrView& object, std::int64_t dx, std::int64_t dy);
    // Outputs an object with the text given, as it is.
    void OutputAsIs(const TfrView& object, std::int64_t dx, std::int64_t dy, const std::vector<std::string>& text);

    // What the prepared pages may still take before MaxLines and MaxBytes, and the errors of
    // passing them (LayoutTooLarge).
    std::size_t RemainingLines() const;
    std::size_t RemainingBytes() const;
    [[noreturn]] void ThrowTooManyLines() const;
    [[noreturn]] void ThrowTooManyBytes() const;

private:
    void OutputMemo(TfrMemoView& memo, const std::vector<std::string>& text, std::int64_t dx, std::int64_t dy);

    TfrReport& report_;
    NameLookup& lookup_;
    RunPlace& place_;
    Canvas& scratch_;
    std::unordered_map<const TfrView*, std::vector<std::string>> expanded_;
    std::map<const TfrView*, std::vector<std::string>> lastOutput_;
};

// The message of the error box for an error inside an object (object none: no object part).
std::string CalculationErrorMessage(const TfrView* object, const std::string& reportName, const std::string& what);

}  // namespace quillon
