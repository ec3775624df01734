#include "report/export/RtfExport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <optional>

#include "report/format/AnsiText.h"

namespace quillon {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kTableLine = 255;
// Twips are twentieths of a point; at ScaleX 1.3 a report unit is one point.
constexpr long double kScaleOfOnePoint = 1.3L;
constexpr long double kTwipsPerPoint = 20.0L;

bool SameFontName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Appends table entries to lines that stay under 255 characters.
class TableText {
public:
    explicit TableText(std::string opening) : line_(std::move(opening)) {}
    void Add(const std::string& entry) {
        if (line_.size() + entry.size() >= kTableLine) {
            text_ += line_ + kLineEnd;
            line_.clear();
        }
        line_ += entry;
    }
    std::string Close() { return text_ + line_ + "}" + kLineEnd; }

private:
    std::string text_;
    std::string line_;
};

// Appends a character as one "\uN?" per UTF-16 code unit.
void AppendUnicodeEscape(std::string& text, char32_t c) {
    // Only a code point that UTF-16 can hold is written; "\u" takes a UTF-16 code unit as a signed
    // 16-bit number, one control word per unit, so a character beyond U+FFFF takes two. The "?"
    // is the one character (\uc1, the default) that a reader without Unicode shows instead and a
    // Unicode reader skips; it also ends the control word, so a digit or letter after it is text.
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    const auto unit = [&text](char32_t u) {
        const int n = u < 0x8000 ? static_cast<int>(u) : static_cast<int>(u) - 0x10000;
        text += "\\u" + std::to_string(n) + "?";
    };
    if (c < 0x10000) {
        unit(c);
    } else {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

}  // namespace

bool IsFixedPitch(std::string_view fontName) {
    static constexpr std::string_view kFixedPitch[] = {"courier", "mono", "consol", "fixedsys", "terminal"};
    std::string lower(fontName);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::any_of(std::begin(kFixedPitch), std::end(kFixedPitch),
                       [&](std::string_view family) { return lower.find(family) != std::string::npos; });
}

std::string CellText(const TfrTextRec& record) {
    // A text starts a tab cell, and the tab stop places it. Leading blanks in a proportional font
    // only padded a fixed layout: a reader draws them at its own width, which can push the text
    // past the next tab stop and every later text of the row one cell too far. In a fixed-pitch
    // font a blank is as wide as any character and keeps rows of digits under their letters.
    if (IsFixedPitch(record.FontName)) return record.Text;
    const auto first = record.Text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : record.Text.substr(first);
}

std::string RtfText(const std::string& utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextUtf8CodePoint(utf8, i);
        const std::optional<char> byte = AnsiByteOf(c);
        if (!byte) {
            AppendUnicodeEscape(text, c);
            continue;
        }
        if (*byte == '\\' || *byte == '{' || *byte == '}') text += '\\';
        text += *byte;
    }
    return text;
}

void ConfigureAsExportButton(TfrRTFExport& writer) {
    writer.ShowDialog = false;
    writer.ScaleX = 1.0;
    writer.ScaleY = 1.0;
    writer.KillEmptyLines = false;
    writer.PageBreaks = false;
}

TfrRTFExport::TfrRTFExport() {
    ShowDialog = true;
    ScaleX = 1.3;
    ScaleY = 1.0;
    KillEmptyLines = true;
    PageBreaks = true;
}

long long TfrRTFExport::Twips(std::int32_t x) const {
    const long double twips =
        static_cast<long double>(x) / (kScaleOfOnePoint / static_cast<long double>(ScaleX)) * kTwipsPerPoint;
    return std::llrint(twips);
}

int TfrRTFExport::FontIndex(const std::string& name) {
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        if (SameFontName(fonts_[i], name)) return static_cast<int>(i);
    }
    fonts_.push_back(name);
    return static_cast<int>(fonts_.size()) - 1;
}

int TfrRTFExport::ColourNumber(Colour colour) {
    const auto at = std::find(colours_.begin(), colours_.end(), colour);
    if (at != colours_.end()) return static_cast<int>(at - colours_.begin()) + 1;
    colours_.push_back(colour);
    return static_cast<int>(colours_.size());
}

void TfrRTFExport::WriteToFile(const std::string& bytes) {
    if (Stream && !Stream->Write(bytes.data(), bytes.size())) Fail("Stream write error");
}

void TfrRTFExport::BeginDocument() {
    TfrTextExport::BeginDocument();
    ResetFailure();
    pageWritten_ = false;
    fonts_.clear();
    colours_.clear();
    body_.clear();
    WriteToFile(std::string("{\\rtf1\\ansi") + kLineEnd + "\\margl600\\margr600\\margt600\\margb600" + kLineEnd);
}

void TfrRTFExport::EndPage() {
    if (pageWritten_ && PageBreaks) body_ += std::string("\\page") + kLineEnd;
    const auto& rows = Rows();
    int last = static_cast<int>(rows.size()) - 1;
    while (last >= 0 && rows[static_cast<std::size_t>(last)].empty()) --last;

    for (int row = 0; row <= last; ++row) {
        const auto& records = rows[static_cast<std::size_t>(row)];
        if (records.empty()) {
            if (!KillEmptyLines) body_ += std::string("{\\pard \\par}") + kLineEnd;
            continue;
        }
        std::string prefix = "\\pard";
        std::string text;
        std::string fontName;
        long long size = -1, style = -1, colour = -1;
        for (TfrTextRec record : records) {
            if (record.Alignment == 1) prefix += "\\tqr";
            prefix += "\\tx" + std::to_string(Twips(record.X));
            if (record.FontColor == 0xFFFFFF) record.FontColor = 0;

            std::string format;
            if (record.FontName != fontName) format += "\\f" + std::to_string(FontIndex(record.FontName));
            if (record.FontSize != size) format += "\\fs" + std::to_string(std::int64_t{record.FontSize} * 2);
            if (record.FontStyle != style) {
                // A style is switched on where the text has it and off where an earlier text of
                // the paragraph had it and this one has not.
                const long long before = style < 0 ? 0 : style;
                const std::pair<std::uint32_t, const char*> words[] = {{1, "\\i"}, {2, "\\b"}, {4, "\\ul"}};
                for (const auto& [bit, word] : words) {
                    if (record.FontStyle & bit) {
                        format += word;
                    } else if (before & bit) {
                        format += std::string(word) + "0";
                    }
                }
            }
            if (record.FontColor != colour) format += "\\cf" + std::to_string(ColourNumber(record.FontColor));
            text += "\\tab" + format + " " + RtfText(CellText(record));

            fontName = record.FontName;
            size = record.FontSize;
            style = record.FontStyle;
            colour = record.FontColor;
        }
        body_ += prefix + "{" + text + "\\par}" + kLineEnd;
    }
    pageWritten_ = true;
}

void TfrRTFExport::EndDocument() {
    body_ += "\\par}";
    TableText fonts("{\\fonttbl");
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        fonts.Add("{\\f" + std::to_string(i) + " " + RtfText(fonts_[i]) + "}");
    TableText colours("{\\colortbl;");
    for (Colour colour : colours_) {
        colours.Add("\\red" + std::to_string(colour & 0xFF) + "\\green" + std::to_string((colour >> 8) & 0xFF) +
                    "\\blue" + std::to_string((colour >> 16) & 0xFF) + ";");
    }
    WriteToFile(fonts.Close());
    WriteToFile(colours.Close());
    WriteToFile(body_);
    fonts_.clear();
    colours_.clear();
    body_.clear();
}

}  // namespace quillon
