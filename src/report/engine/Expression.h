#pragma once
// A small evaluator for the text of a bracketed name that is not a plain name: numbers, quoted
// strings, names, + - * / and parentheses. Names are resolved by the caller, which may evaluate
// further expressions; errors are thrown as ReportError and end the preparation, a text longer
// than the prepared pages may hold as LayoutTooLarge.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "report/engine/Values.h"

namespace quillon {

// An error inside a report object: the preparation stops and shows it.
class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using NameResolver = std::function<Value(const std::string& name)>;

Value EvaluateExpression(std::string_view text, const NameResolver& resolve);

// Whether the text is a name on its own (no operators, literals or parentheses).
bool IsPlainName(std::string_view text);

}  // namespace quillon
