#pragma once
// A prepared page drawn as it comes out of the printer: white paper at 96 dots per inch, times the
// device pixel ratio of the screen it is meant for (an image of twice the pixels at a ratio of 2,
// drawn at that resolution rather than enlarged); a null image when the page is damaged.

#include <QImage>

#include "report/engine/Report.h"

namespace quillon {

QImage RenderPreparedPage(TfrReport& report, int index, qreal devicePixelRatio = 1.0);

}  // namespace quillon
