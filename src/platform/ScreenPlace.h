#pragma once
// Where the program's windows open on the screen, and how they come back to the front.

#include <QPoint>
#include <QRect>

class QWidget;

namespace quillon {

// Moves the window so that its client area stands in the middle of the free area of the primary
// screen (the area that panels and docks leave). The client area is placed, not the frame, which
// the window manager may not have drawn yet the first time: so the window opens at the same place
// each time it is shown. Nothing happens without a screen.
void CentreOnScreen(QWidget& window);

// The top-left corner that puts a frame of that geometry inside the available area, moved as
// little as possible; a frame larger than the area keeps its left or top edge on the area's.
QPoint KeepInside(const QRect& frame, const QRect& available);

// Shows the window, restores it when minimised, raises it and gives it the keyboard.
void BringToFront(QWidget& window);

}  // namespace quillon
