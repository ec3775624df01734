#include "windows/report/ReportPages.h"

#include <cmath>

#include "platform/QtCanvas.h"

namespace quillon {

QImage RenderPreparedPage(TfrReport& report, int index, qreal devicePixelRatio) {
    PreparedPage& page = report.EMFPages[index];
    const auto pixels = [](int reportUnits) {
        return static_cast<int>(std::lround(reportUnits / kReportUnitsPerInch * 96));
    };
    const QSize logical(pixels(page.Metrics.PageWidth), pixels(page.Metrics.PageHeight));
    // The page is laid out in 96-dpi pixels; the painter maps them onto the finer device pixels.
    QImage image(logical * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    {
        // Drawn the way the printer draws: fonts by point size, no fill behind transparent objects.
        QtCanvas canvas(&image, true);
        ScratchCanvas scratch;
        page.Visible = true;
        const RunResult drawn =
            report.EMFPages.DrawPage(index, canvas, scratch.Get(), Rect{0, 0, logical.width(), logical.height()});
        page.Visible = false;
        if (!drawn.IsDone()) return {};
    }
    return image;
}

}  // namespace quillon
