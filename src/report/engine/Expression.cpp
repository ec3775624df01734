#include "report/engine/Expression.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "report/engine/LayoutLimits.h"

namespace quillon {
namespace {

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsNamePart(char c) {
    return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '#' || c == '.';
}

class Parser {
public:
    Parser(std::string_view text, const NameResolver& resolve) : text_(text), resolve_(resolve) {}

    Value Parse() {
        Value value = Sum();
        SkipBlanks();
        if (at_ != text_.size()) Fail();
        return value;
    }

private:
    [[noreturn]] void Fail() const { throw ReportError("Syntax error in \"" + std::string(text_) + "\""); }

    void SkipBlanks() {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    }

    bool Take(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    Value Sum() {
        Value value = Product();
        for (;;) {
            if (Take('+')) {
                value = Add(value, Product());
            } else if (Take('-')) {
                value = Arithmetic(value, Product(), '-');
            } else {
                return value;
            }
        }
    }

    Value Product() {
        Value value = Factor();
        for (;;) {
            if (Take('*')) {
                value = Arithmetic(value, Factor(), '*');
            } else if (Take('/')) {
                value = Arithmetic(value, Factor(), '/');
            } else {
                return value;
            }
        }
    }

    Value Factor() {
        SkipBlanks();
        if (at_ >= text_.size()) Fail();
        const char c = text_[at_];
        if (c == '(' || c == '-') {
            // Each parenthesis and each sign is a level of recursion: a line of thousands of them
            // would exhaust the stack, so the depth is limited.
            if (++depth_ > kMaxDepth) throw ReportError("Expression too complex in \"" + std::string(text_) + "\"");
            ++at_;
            Value value = c == '(' ? Sum() : Arithmetic(Value{0LL}, Factor(), '-');
            if (c == '(' && !Take(')')) Fail();
            --depth_;
            return value;
        }
        if (c == '\'' || c == '"') return Quoted(c);
        if (std::isdigit(static_cast<unsigned char>(c))) return NumberLiteral();
        if (IsNameStart(c)) {
            const std::size_t start = at_;
            while (at_ < text_.size() && IsNamePart(text_[at_])) ++at_;
            return resolve_(std::string(text_.substr(start, at_ - start)));
        }
        Fail();
    }

    Value Quoted(char quote) {
        std::string text;
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] == quote) {
                // A doubled quote stands for one.
                if (at_ + 1 < text_.size() && text_[at_ + 1] == quote) {
                    text += quote;
                    ++at_;
                    continue;
                }
                ++at_;
                return text;
            }
            text += text_[at_];
        }
        Fail();
    }

    Value NumberLiteral() {
        const std::size_t start = at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        bool fraction = false;
        if (at_ < text_.size() && text_[at_] == '.') {
            fraction = true;
            ++at_;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        }
        const std::string digits(text_.substr(start, at_ - start));
        if (!fraction && digits.size() < 19) return std::stoll(digits);
        // Too long for an integer: a number, infinite when it is beyond every double.
        return std::strtod(digits.c_str(), nullptr);
    }

    static std::optional<double> Number(const Value& value) {
        if (const auto* i = std::get_if<long long>(&value)) return static_cast<double>(*i);
        if (const auto* d = std::get_if<double>(&value)) return *d;
        if (const auto* b = std::get_if<bool>(&value)) return *b ? 1.0 : 0.0;
        if (std::holds_alternative<std::monostate>(value)) return 0.0;
        return std::nullopt;
    }

    Value Add(const Value& a, const Value& b) const {
        if (std::holds_alternative<std::string>(a) || std::holds_alternative<std::string>(b)) {
            static const FixedReportLocale plain;
            std::string sum = PlainText(a, plain);
            const std::string added = PlainText(b, plain);
            // Texts that add each other up double at every step; no page could hold the result.
            if (sum.size() + added.size() > kMaxPreparedBytes) {
                throw LayoutTooLarge("a text would be longer than " + std::to_string(kMaxPreparedBytes) + " bytes");
            }
            return sum += added;
        }
        return Arithmetic(a, b, '+');
    }

    Value Arithmetic(const Value& a, const Value& b, char op) const {
        const auto* ia = std::get_if<long long>(&a);
        const auto* ib = std::get_if<long long>(&b);
        if (ia && ib && op != '/') {
            long long result = 0;
            const bool overflow = op == '+'   ? __builtin_add_overflow(*ia, *ib, &result)
                                  : op == '-' ? __builtin_sub_overflow(*ia, *ib, &result)
                                              : __builtin_mul_overflow(*ia, *ib, &result);
            if (!overflow) return result;
        }
        const auto x = Number(a);
        const auto y = Number(b);
        if (!x || !y) throw ReportError("Type mismatch in \"" + std::string(text_) + "\"");
        switch (op) {
            case '+': return *x + *y;
            case '-': return *x - *y;
            case '*': return *x * *y;
            default:
                if (*y == 0) throw ReportError("Division by zero");
                return *x / *y;
        }
    }

    static constexpr int kMaxDepth = 200;

    std::string_view text_;
    const NameResolver& resolve_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

}  // namespace

Value EvaluateExpression(std::string_view text, const NameResolver& resolve) { return Parser(text, resolve).Parse(); }

bool IsPlainName(std::string_view text) {
    if (text.empty() || !IsNameStart(text.front())) return false;
    for (char c : text) {
        if (!IsNamePart(c)) return false;
    }
    return true;
}

}  // namespace quillon
