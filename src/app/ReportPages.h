#pragma once
// A prepared page drawn as it comes out of the printer: white paper at 96 dots per inch; a null
// image when the page is damaged.

#include <QImage>

#include "report/engine/Report.h"

namespace quillon {

QImage RenderPreparedPage(TfrReport& report, int index);

}  // namespace quillon
