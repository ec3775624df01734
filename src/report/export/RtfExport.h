#pragma once
// The RTF writer: each row of a page becomes one paragraph whose tab stops stand at the row's
// text positions, with fonts, sizes, styles and colours carried over. The body is kept in memory
// until the end, because the font and colour tables come before it in the file.

#include <string>
#include <string_view>
#include <vector>

#include "report/export/ExportFilter.h"

namespace quillon {

class TfrRTFExport : public TfrTextExport {
public:
    TfrRTFExport();

    void BeginDocument() override;
    void EndPage() override;
    void EndDocument() override;

    // Report units to twips: x / (1.3 / ScaleX) x 20, halves to even.
    long long Twips(std::int32_t x) const;

private:
    int FontIndex(const std::string& name);
    int ColourNumber(Colour colour);
    void WriteToFile(const std::string& bytes);

    std::vector<std::string> fonts_;
    std::vector<Colour> colours_;
    std::string body_;
    bool pageWritten_ = false;
};

// The settings the analysis window stores with its writer: no options asked, scales 1.0, empty
// rows kept, no page breaks.
void ConfigureAsExportButton(TfrRTFExport& writer);

// Text as RTF: every character the ANSI code page has as its byte, backslashes and braces
// escaped; every other one as a Unicode escape "\uN?".
std::string RtfText(const std::string& utf8);

// Whether a font family sets every character, the blank included, at one width.
bool IsFixedPitch(std::string_view fontName);
// The text a record puts in its tab cell: without leading blanks, unless its font is fixed-pitch.
std::string CellText(const TfrTextRec& record);

}  // namespace quillon
