#pragma once
// What the reports of the program run with: the user's regional formats, a 96-dpi image to
// measure text on, the progress window and the clock.

#include <memory>

#include "platform/QtCanvas.h"
#include "platform/QtReportLocale.h"
#include "report/engine/Report.h"
#include "windows/report/TfrProgressForm.h"

namespace quillon {

class ReportSurroundings {
public:
    ReportEnvironment Environment();

private:
    QtReportLocale locale_;
    ScratchCanvas scratch_;
    QtReportProgress progress_;
};

}  // namespace quillon
