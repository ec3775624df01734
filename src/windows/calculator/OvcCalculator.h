#pragma once
// The calculator control: a display across the top and five rows of self-drawn buttons, with the
// memory column set apart on the left. It maps keys and mouse clicks onto the buttons of its
// engine and draws what the engine holds; the arithmetic is all the engine's.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

#include "calculator/CalculatorEngine.h"

class QPainter;

namespace quillon {

// The caption colours of the button groups and the display's colours. The defaults are the custom
// scheme (cscalcCustom) that the math calculator window uses.
struct TOvcCalcColors {
    QColor DisabledMemoryButtons{128, 128, 128};  // gray: MC and MR while memory is zero
    QColor Display;                               // the window background colour of the platform
    QColor DisplayTextColor;                      // the window text colour of the platform
    QColor EditButtons{128, 0, 0};                // maroon: Back, CE, C
    QColor FunctionButtons{0, 0, 128};            // navy: 1/x, +/-, %, Sqrt
    QColor MemoryButtons{255, 0, 0};              // red: MC, MR, MS, M+, M-
    QColor NumberButtons{0, 0, 255};              // blue: digits and the decimal point
    QColor OperatorButtons{255, 0, 0};            // red: +, -, *, /, =
};

// Where the display and the buttons stand in a control of the given size. Borders are 6 pixels and
// gaps 4 in a control wider than 200 pixels, 4 and 2 otherwise. The six columns and the six rows
// (the display and five rows of buttons) share the rest evenly; the pixels that do not divide go to
// the memory column's wider gap and to the display's height.
struct CalculatorLayout {
    QRect display;
    QRect Button(CalcButton button) const;

    int border = 0;
    int gap = 0;
    int columnWidth = 0;
    int rowHeight = 0;
    int memoryGap = 0;  // between the memory column and the five columns
};
CalculatorLayout LayOutCalculator(QSize size);

class TOvcCalculator : public QWidget {
    Q_OBJECT

public:
    explicit TOvcCalculator(QWidget* parent = nullptr);
    ~TOvcCalculator() override;

    TOvcBasicCalculatorEngine& Engine() { return engine_; }
    const TOvcBasicCalculatorEngine& Engine() const { return engine_; }

    TOvcCalcColors Colors;
    // The display's font: bold "MS Sans Serif", 13 pixels.
    QFont TapeFont;

    // The button's caption; the decimal point's is the locale's decimal separator.
    QString Caption(CalcButton button) const;
    // The button with that caption; "." names the decimal point under every locale.
    std::optional<CalcButton> ButtonForCaption(const QString& caption) const;
    QRect ButtonRect(CalcButton button) const;
    QRect DisplayRect() const;
    std::optional<CalcButton> ButtonAt(QPoint position) const;
    // The colour the button's caption is drawn in now.
    QColor CaptionColor(CalcButton button) const;
    // MC and MR take no click while the memory is zero.
    bool AcceptsClick(CalcButton button) const;

    // Pastes the clipboard's text as key presses.
    void PasteFromClipboard();
    // Presses the button as a click on it does (MC and MR do nothing while the memory is zero).
    void PressButton(CalcButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawDisplay(QPainter& painter) const;
    void DrawButton(QPainter& painter, CalcButton button) const;
    // Repaints after the engine acted and tells a screen reader the new display.
    void DisplayChanged();

    class Surroundings;
    std::unique_ptr<Surroundings> surroundings_;
    TOvcBasicCalculatorEngine engine_;
    // The button the mouse went down on, while it is held.
    std::optional<CalcButton> pressed_;
    bool pressedInside_ = false;
};

}  // namespace quillon
