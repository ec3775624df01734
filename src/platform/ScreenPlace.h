#pragma once
// Where the program's windows open on the screen.

class QWidget;

namespace quillon {

// Moves the window, frame included, to the middle of the primary screen's free area (the area
// that panels and docks leave). Nothing happens without a screen.
void CentreOnScreen(QWidget& window);

}  // namespace quillon
