#include "report/engine/NameLookup.h"

#include <algorithm>
#include <cctype>

#include "report/engine/Drawing.h"
#include "report/engine/Expression.h"

namespace quillon {
namespace {

struct NamedConstant {
    const char* name;
    long long value;
};

constexpr NamedConstant kConstants[] = {
    {"frftNone", 0},  {"frftRight", 1}, {"frftBottom", 2},  {"frftLeft", 4},     {"frftTop", 8},
    {"frtaLeft", 0},  {"frtaRight", 1}, {"frtaCenter", 2},  {"frtaVertical", 4}, {"frtaMiddle", 8},
    {"frtaDown", 16}, {"baNone", 0},    {"baLeft", 1},      {"baRight", 2},      {"baCenter", 3},
    {"baWidth", 4},   {"baBottom", 5},  {"baTop", 6},       {"baRest", 7},       {"psSolid", 0},
    {"psDash", 1},    {"psDot", 2},     {"psDashDot", 3},   {"psDashDotDot", 4}, {"psDouble", 5},
    {"fsBold", 2},    {"fsItalic", 1},  {"fsUnderline", 4}, {"fsStrikeOut", 8},  {"mbOK", 0},
    {"mbCancel", 1},  {"mbYes", 2},     {"mbNo", 3},        {"mrNone", 0},       {"mrOk", 1},
    {"mrCancel", 2},  {"mrYes", 6},     {"mrNo", 7},
};

// Names that refer to each other go this deep at most; a longer chain is taken for a loop.
constexpr std::size_t kMaxNesting = 64;

constexpr std::string_view kInlineFormatMark = " #";

// The display format of an inline format: "N" or a digit for numbers, "D" dates, "T" times, "B"
// booleans, followed by the pattern; the decimal separator stays the memo's.
std::pair<std::uint32_t, std::string> InlineFormat(const std::string& text, std::uint32_t memoFormat) {
    const char letter = text.empty() ? 'N' : static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    FormatKind kind = FormatKind::Number;
    if (letter == 'D') kind = FormatKind::Date;
    if (letter == 'T') kind = FormatKind::Time;
    if (letter == 'B') kind = FormatKind::Boolean;
    const bool lettered = letter == 'N' || letter == 'D' || letter == 'T' || letter == 'B';
    const std::uint32_t format = FormatWord(kind, kFormatFromString, 0, static_cast<char>(memoFormat & 0xFF));
    return {format, lettered && !text.empty() ? text.substr(1) : text};
}

}  // namespace

std::string NameWithoutFormat(const std::string& bracketed) {
    const auto mark = bracketed.find(kInlineFormatMark);
    return mark == std::string::npos ? bracketed : bracketed.substr(0, mark);
}

NameLookup::NameLookup(const ValueCallback& onGetValue, const ReportTemplate& report, const RunPlace& place,
                       const ReportLocale& locale, Canvas& scratch, DateTime startedAt, std::size_t maxLookups)
    : onGetValue_(onGetValue),
      report_(report),
      place_(place),
      locale_(locale),
      scratch_(scratch),
      date_(DateOf(startedAt)),
      time_(TimeOf(startedAt)),
      maxLookups_(maxLookups) {}

std::string NameLookup::NameText(const TfrMemoView& memo, const std::string& bracketed) {
    std::uint32_t format = memo.Format;
    std::string formatString = memo.FormatString;
    if (const auto mark = bracketed.find(kInlineFormatMark); mark != std::string::npos) {
        std::tie(format, formatString) = InlineFormat(bracketed.substr(mark + kInlineFormatMark.size()), memo.Format);
    }
    currentValue_ = Lookup(NameWithoutFormat(bracketed));
    if ((memo.Flags & kMemoHideZeros) && IsZero(currentValue_)) return {};
    return FormatValue(currentValue_, format, formatString, locale_);
}

std::string NameLookup::TagText(const std::string& bracketed) {
    return FormatValue(Lookup(NameWithoutFormat(bracketed)), 0, {}, locale_);
}

Value NameLookup::Lookup(const std::string& name) {
    if (++lookups_ > maxLookups_) {
        throw LayoutTooLarge("it works out more than " + std::to_string(maxLookups_) + " values");
    }
    Value value;
    if (onGetValue_) {
        onGetValue_(name, value);
        if (!IsUnassigned(value)) return value;
    }
    if (const TemplateVariable* variable = report_.Variables.Find(name)) {
        if (variable->Value.empty()) return std::string();
        return Evaluate(variable->Value, name);
    }
    if (auto builtIn = BuiltIn(name)) return *builtIn;
    if (auto property = ObjectProperty(name)) return *property;
    for (const NamedConstant& constant : kConstants) {
        if (name == constant.name) return constant.value;
    }
    if (name == "CRLF") return std::string("\r\n");
    if (name == "Null") return Value{};
    return Evaluate(name, name);
}

Value NameLookup::Evaluate(const std::string& expression, const std::string& name) {
    if (evaluating_.size() >= kMaxNesting || !evaluating_.insert(name).second) {
        throw ReportError("Undefined symbol \"" + name + "\"");
    }
    struct Release {
        std::set<std::string>& names;
        const std::string& name;
        ~Release() { names.erase(name); }
    } release{evaluating_, name};
    return EvaluateExpression(expression, [this](const std::string& n) { return Lookup(n); });
}

std::optional<Value> NameLookup::BuiltIn(const std::string& name) {
    const ReportInfo& info = report_.Info;
    if (name == "VALUE") return currentValue_;
    if (name == "PAGE#") return static_cast<long long>(place_.pageCounter + 1);
    if (name == "DATE") return date_;
    if (name == "TIME") return time_;
    // There are no data bands: every record number is 0.
    if (name == "LINE#" || name == "LINETHROUGH#" || name == "CURRENT#") return 0LL;
    if (name == "COLUMN#") return static_cast<long long>(place_.column + 1);
    // Pages are counted only in the second pass of a two-pass report, which is not run here.
    if (name == "TOTALPAGES") return 0LL;
    if (name == "REPORTCOMMENT") return info.Comment;
    if (name == "REPORTNAME") return info.Name;
    if (name == "REPORTAUTOR") return info.Author;
    if (name == "VMAJOR") return info.VersionMajor;
    if (name == "VMINOR") return info.VersionMinor;
    if (name == "VRELEASE") return info.VersionRelease;
    if (name == "VBUILD") return info.VersionBuild;
    if (name == "REPORTDATE") return info.Created;
    if (name == "REPORTLASTCHANGE") return info.LastChange;
    if (name == "CALCWIDTH" && place_.object && place_.object->Kind() == ObjectKind::Memo) {
        const auto& memo = static_cast<const TfrMemoView&>(*place_.object);
        scratch_.SetFont(MeasuringFont(memo));
        int width = 0;
        for (const std::string& line : memo.Memo) width = std::max(width, scratch_.TextWidth(line));
        return static_cast<long long>(width + 2 * memo.GapX);
    }
    if (name == "CURY") return static_cast<long long>(place_.curY);
    if (name == "FREESPACE") return static_cast<long long>(place_.curBottom - place_.curY);
    if (name == "PAGEHEIGHT") return static_cast<long long>(place_.curBottom);
    if (name == "PAGEWIDTH") return static_cast<long long>(place_.rightEdge);
    if (name == "FINALPASS") return true;
    return std::nullopt;
}

std::optional<Value> NameLookup::ObjectProperty(const std::string& name) const {
    const auto dot = name.find('.');
    if (dot == std::string::npos || !place_.page) return std::nullopt;
    const std::string objectName = name.substr(0, dot);
    const std::string property = name.substr(dot + 1);
    for (const auto& object : place_.page->Objects) {
        if (object->Name != objectName) continue;
        if (property == "Left") return static_cast<long long>(object->Left);
        if (property == "Top") return static_cast<long long>(object->Top);
        if (property == "Width") return static_cast<long long>(object->Width);
        if (property == "Height") return static_cast<long long>(object->Height);
        if (property == "Visible") return object->Visible;
        if (property == "Name") return object->Name;
        if (property == "Memo") {
            std::string text;
            for (std::size_t i = 0; i < object->Memo.size(); ++i) text += (i ? "\r\n" : "") + object->Memo[i];
            return text;
        }
    }
    return std::nullopt;
}

}  // namespace quillon
