#pragma once
// Where the value of a bracketed name comes from during preparation: the report's value callback
// first; then the template's variables, the engine's built-in names, object properties ("Memo1.Left")
// and named constants; and last the name read as an expression, whose own names come back here.
// A name met again while its own value is being worked out is undefined.

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "report/engine/Canvas.h"
#include "report/engine/LayoutLimits.h"
#include "report/engine/Values.h"
#include "report/format/Template.h"

namespace quillon {

// The place of a run that the built-in position names read; the run keeps it up to date.
struct RunPlace {
    int pageCounter = 0;  // pages finished before the one being built
    int column = 0;       // 0-based
    // Positions on the page, in 64 bits: bands far down, or many of them, go past an int.
    std::int64_t curY = 0, curBottom = 0, rightEdge = 0;
    const TfrPage* page = nullptr;    // the template page being built
    const TfrView* object = nullptr;  // the object being output
};

using ValueCallback = std::function<void(const std::string& name, Value& value)>;

class NameLookup {
public:
    NameLookup(const ValueCallback& onGetValue, const ReportTemplate& report, const RunPlace& place,
               const ReportLocale& locale, Canvas& scratch, DateTime startedAt,
               std::size_t maxLookups = kMaxValuesWorkedOut);

    // The value of a name; throws ReportError for an undefined one, and LayoutTooLarge once more
    // than maxLookups names have been looked up.
    Value Lookup(const std::string& name);

    // The text that replaces one bracketed name of a memo: the name's value (a name may carry an
    // inline format after " #"), empty for a zero under HideZeros, formatted by the memo's display
    // format.
    std::string NameText(const TfrMemoView& memo, const std::string& bracketed);

    // The text of a bracketed name in a tag: plain, whatever the object's format.
    std::string TagText(const std::string& bracketed);

private:
    std::optional<Value> BuiltIn(const std::string& name);
    std::optional<Value> ObjectProperty(const std::string& name) const;
    Value Evaluate(const std::string& expression, const std::string& name);

    const ValueCallback& onGetValue_;
    const ReportTemplate& report_;
    const RunPlace& place_;
    const ReportLocale& locale_;
    Canvas& scratch_;
    DateValue date_;
    TimeValue time_;
    Value currentValue_;  // VALUE: the value being formatted
    std::set<std::string> evaluating_;
    std::size_t lookups_ = 0, maxLookups_;
};

// The name of a bracketed text without an inline format (the part before " #").
std::string NameWithoutFormat(const std::string& bracketed);

}  // namespace quillon
