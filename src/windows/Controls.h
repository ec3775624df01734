#pragma once
// Small helpers that build the controls of the program's windows as the windows place them:
// absolute positions in pixels, fonts given in points at 96 dots per inch (so that the
// windows do not scale with the screen), hints shown as tool tips.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quillon::ui {

// The pale blue of every read-only result field, RGB(240, 251, 255).
inline const QColor kPaleBlue{240, 251, 255};

// A font of the given family and point size, sized in pixels as a 96-dpi screen would show it.
QFont PointFont(const QString& family, int points, bool bold);

// The base font of the analysis window and its date panel: bold 8-point "MS Sans Serif".
QFont SmallFont();
// Bold 10-point "MS Sans Serif".
QFont NormalFont();
// Bold 10-point "Courier New", the fixed-pitch font of the data and its two rows.
QFont RowFont();

// A label at (left, top), sized to its text.
QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& text, const QFont& font);

// A read-only, pale blue field that the Tab key passes over.
QLineEdit* MakeResultField(QWidget* parent, const QRect& geometry, const QFont& font, const QString& hint);

// An image from the resources (":/images/NAME.xpm"). On a screen of two or three device pixels to
// a pixel each of its pixels becomes a square of device pixels, so that it stays sharp instead of
// being smoothed into a blur.
QIcon ImageIcon(const QString& name);

// A push button with an optional 16 x 16 image from the resources (":/images/NAME.xpm").
QPushButton* MakeButton(QWidget* parent, const QRect& geometry, const QString& caption, const QString& hint,
                        const QString& image = {});

// Sets the background that read-only fields and the chart share.
void SetPaleBlueBackground(QWidget* widget);

}  // namespace quillon::ui
