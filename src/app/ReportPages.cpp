#include "app/ReportPages.h"

#include <cmath>

#include "platform/QtCanvas.h"

namespace quillon {

QImage RenderPreparedPage(TfrReport& report, int index) {
    PreparedPage& page = report.EMFPages[index];
    const auto pixels = [](int reportUnits) { return static_cast<int>(std::lround(reportUnits / kReportUnitsPerInch * 96)); };
    QImage image(pixels(page.Metrics.PageWidth), pixels(page.Metrics.PageHeight), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    {
        // Drawn the way the printer draws: fonts by point size, no fill behind transparent objects.
        QtCanvas canvas(&image, true);
        ScratchCanvas scratch;
        page.Visible = true;
        const RunResult drawn = report.EMFPages.DrawPage(index, canvas, scratch.Get(), Rect{0, 0, image.width(), image.height()});
        page.Visible = false;
        if (!drawn.IsDone()) return {};
    }
    return image;
}

}  // namespace quillon
