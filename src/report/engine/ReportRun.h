#pragma once
// One preparation of a report: the walk over the template's pages, showing bands from top to
// bottom and putting out their objects into the prepared pages.

#include <cstdint>
#include <string>

#include "report/engine/Bands.h"
#include "report/engine/Expression.h"
#include "report/engine/NameLookup.h"
#include "report/engine/ObjectOutput.h"
#include "report/engine/Report.h"

namespace quillon {

class ReportRun {
public:
    ReportRun(TfrReport& report, const ReportLocale& locale, Canvas& scratch, DateTime startedAt)
        : report_(report),
          scratch_(scratch),
          lookup_(report.OnGetValue, report.Template, place_, locale, scratch, startedAt, report.MaxValues),
          output_(report, lookup_, place_, scratch) {}

    bool cancel = false;
    // The error box's message after an error inside an object.
    std::string error;

    void Walk();

private:
    void BuildPage(TfrPage& page, PageBands& bands);
    void SetEdges(const TfrPage& page, const PageBands& bands);
    void AddPage();
    void FooterPass();
    void NewColumnOrPage();
    void NewPage();
    int ColumnFooterHeight() const;

    void ShowBand(TfrBand* band);
    void Show(BandType type) { ShowBand(bands_->First(type)); }
    std::int64_t StretchedHeight(TfrBand& band);
    void DrawBandObjects(TfrBand& band);
    void DrawSplitBand(TfrBand& band, int height);

    // Runs the output of objects; an error inside one, or a bound passed, is recorded and ends
    // the run.
    template <typename Output>
    bool Guarded(Output&& output) {
        try {
            output();
            return true;
        } catch (const LayoutTooLarge& failure) {
            error = failure.what();
            cancel = true;
            return false;
        } catch (const ReportError& failure) {
            error = CalculationErrorMessage(place_.object, report_.Name, failure.what());
            cancel = true;
            return false;
        }
    }

    TfrReport& report_;
    Canvas& scratch_;
    RunPlace place_;
    NameLookup lookup_;
    ObjectOutput output_;

    PageBands* bands_ = nullptr;
    bool continueOnSamePage_ = false;
    // Positions on the page, in 64 bits as the run's place.
    std::int64_t left_ = 0, top_ = 0, bottom_ = 0;
    std::int64_t xOffset_ = 0;
    std::int64_t savedY_ = 0, savedBottom_ = 0;
    int columns_ = 1;
    std::int64_t columnWidth_ = 0, columnGap_ = 0;
    // Where a new column starts: the top of the page, or below the column header.
    std::int64_t columnStart_ = 0;
    bool ignoreColumnFooter_ = false;
};

}  // namespace quillon
