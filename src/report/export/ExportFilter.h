#pragma once
// Export filters: the base that an export run drives (document, pages, objects, text lines),
// and the text filter that collects a page's text lines into rows by their vertical position,
// ordered by horizontal position within a row. Concrete formats write the rows at the end of
// each page.

#include <cstdint>
#include <string>
#include <vector>

#include "report/engine/Canvas.h"
#include "report/format/Views.h"

namespace quillon {

// Where a filter writes: the file of one export, lent by the export run.
class ExportStream {
public:
    virtual ~ExportStream() = default;
    // Writes all bytes; false when the device took fewer.
    virtual bool Write(const void* data, std::size_t size) = 0;
};

class TfrExportFilter {
public:
    virtual ~TfrExportFilter() = default;

    bool ShowDialog = false;
    std::string FileName;
    ExportStream* Stream = nullptr;

    virtual void ClearRows();
    // 1 to go on; the system's filters ask nothing.
    virtual int ConfirmOptions() { return 1; }
    virtual void BeginDocument() {}
    virtual void EndDocument() {}
    virtual void BeginPage() {}
    virtual void EndPage() {}
    virtual void ExportObject(int /*x*/, int /*y*/, const TfrView& /*object*/) {}
    virtual void ExportTextLine(const Rect& /*drawRect*/, int /*x*/, int /*y*/, const std::string& /*text*/,
                                std::uint16_t /*frameTyp*/, const TfrView* /*object*/) {}

    // The failure a filter met while writing, for the export run to report.
    const std::string& Failure() const { return failure_; }

protected:
    void Fail(std::string message) {
        if (failure_.empty()) failure_ = std::move(message);
    }
    void ResetFailure() { failure_.clear(); }

private:
    std::string failure_;
};

// One exported line of text.
struct TfrTextRec {
    std::int32_t X = 0;  // the line's start, or the rectangle's right edge for right-aligned text
    std::string Text;
    std::string FontName;  // at most 32 characters
    std::int32_t FontSize = 0;
    std::uint32_t FontStyle = 0;
    Colour FontColor = 0;
    std::uint32_t FontCharset = 0;
    Colour FillColor = kNoColour;
    Rect DrawRect;
    std::uint32_t FrameTyp = 0;
    std::int32_t Alignment = 0;
};

inline constexpr const char* kTooLargeToExport = "The template is too large to export: ";

class TfrTextExport : public TfrExportFilter {
public:
    static constexpr int kRowCount = 201;
    // Rows and texts one document takes at most: every page's rows down to its lowest text, and
    // every text line. A writer keeps a page's texts and the whole document in memory, and a
    // prepared page may hold a megabyte of text a character a line, or a line far down its page
    // on every one of a hundred thousand pages. Ten thousand pages of sixty lines take 1.3 million.
    static constexpr std::size_t kMaxRowsAndTexts = 2000000;

    double ScaleX = 1.0;
    double ScaleY = 1.0;
    bool KillEmptyLines = true;
    bool PageBreaks = true;
    std::size_t MaxRowsAndTexts = kMaxRowsAndTexts;

    void ClearRows() override;
    int ConfirmOptions() override { return ShowDialog ? 0 : 1; }
    // Starts the count of rows and texts; a writer calls it when it begins a document.
    void BeginDocument() override;
    void BeginPage() override;
    void ExportTextLine(const Rect& drawRect, int x, int y, const std::string& text, std::uint16_t frameTyp,
                        const TfrView* object) override;

    // Rows 0 to 200 (more when a line falls below row 200: its text is kept, not lost, unless it
    // lies far outside any page, or the document passes MaxRowsAndTexts, either of which fails
    // the filter), each ordered by X; among equal X the later line comes first.
    const std::vector<std::vector<TfrTextRec>>& Rows() const;

    // The row of a line top in report units: y / (14 / ScaleY), halves to even.
    int RowOf(int y) const;

private:
    // Texts are added at the end of their row and the rows put in order when they are asked
    // for: inserting each in its place would take quadratic time on a row of many texts.
    mutable std::vector<std::vector<TfrTextRec>> rows_;
    mutable std::vector<std::size_t> ordered_;  // of each row, how many texts are in order
    std::size_t pageRows_ = 0;                  // rows of this page down to its lowest text
    std::size_t rowsAndTexts_ = 0;              // of the document
};

}  // namespace quillon
