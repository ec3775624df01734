#include "windows/calculator/OvcCalculator.h"

#include <qdrawutil.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "platform/Accessible.h"
#include "windows/Controls.h"
#include "windows/calculator/OvcCalculatorAccessible.h"

namespace quillon {
namespace {

// A button's place: a row of buttons (0 to 4) and a column (0, the memory column, to 5), or for
// Back, CE and C one of three slots that share the last four columns of the first row.
struct GridPlace {
    int row = 0;
    int column = 0;
    int editSlot = -1;
};

// The groups whose captions share a colour.
enum class ButtonGroup { Number, Edit, Function, Memory, Operator };

struct KeyFace {
    CalcButton button;
    const char* caption;  // the decimal point's is replaced by the locale's separator
    ButtonGroup group;
    GridPlace place;
};

// The keypad, in the order of CalcButton.
constexpr KeyFace kKeypad[] = {
    {CalcButton::Digit0, "0", ButtonGroup::Number, {4, 1}},
    {CalcButton::Digit1, "1", ButtonGroup::Number, {3, 1}},
    {CalcButton::Digit2, "2", ButtonGroup::Number, {3, 2}},
    {CalcButton::Digit3, "3", ButtonGroup::Number, {3, 3}},
    {CalcButton::Digit4, "4", ButtonGroup::Number, {2, 1}},
    {CalcButton::Digit5, "5", ButtonGroup::Number, {2, 2}},
    {CalcButton::Digit6, "6", ButtonGroup::Number, {2, 3}},
    {CalcButton::Digit7, "7", ButtonGroup::Number, {1, 1}},
    {CalcButton::Digit8, "8", ButtonGroup::Number, {1, 2}},
    {CalcButton::Digit9, "9", ButtonGroup::Number, {1, 3}},
    {CalcButton::Decimal, ".", ButtonGroup::Number, {4, 3}},
    {CalcButton::Back, "Back", ButtonGroup::Edit, {0, 2, 0}},
    {CalcButton::ClearEntry, "CE", ButtonGroup::Edit, {0, 2, 1}},
    {CalcButton::Clear, "C", ButtonGroup::Edit, {0, 2, 2}},
    {CalcButton::Sign, "+/-", ButtonGroup::Function, {4, 2}},
    {CalcButton::Add, "+", ButtonGroup::Operator, {4, 4}},
    {CalcButton::Subtract, "-", ButtonGroup::Operator, {3, 4}},
    {CalcButton::Multiply, "*", ButtonGroup::Operator, {2, 4}},
    {CalcButton::Divide, "/", ButtonGroup::Operator, {1, 4}},
    {CalcButton::Equals, "=", ButtonGroup::Operator, {4, 5}},
    {CalcButton::Percent, "%", ButtonGroup::Function, {2, 5}},
    {CalcButton::Reciprocal, "1/x", ButtonGroup::Function, {3, 5}},
    {CalcButton::Sqrt, "Sqrt", ButtonGroup::Function, {1, 5}},
    {CalcButton::MemoryClear, "MC", ButtonGroup::Memory, {0, 0}},
    {CalcButton::MemoryRecall, "MR", ButtonGroup::Memory, {1, 0}},
    {CalcButton::MemoryStore, "MS", ButtonGroup::Memory, {2, 0}},
    {CalcButton::MemoryAdd, "M+", ButtonGroup::Memory, {3, 0}},
    {CalcButton::MemorySubtract, "M-", ButtonGroup::Memory, {4, 0}},
};

constexpr bool KeypadInButtonOrder() {
    for (std::size_t i = 0; i < std::size(kKeypad); ++i) {
        if (static_cast<std::size_t>(kKeypad[i].button) != i) return false;
    }
    return std::size(kKeypad) == static_cast<std::size_t>(CalcButton::MemorySubtract) + 1;
}
static_assert(KeypadInButtonOrder());

const KeyFace& FaceOf(CalcButton button) { return kKeypad[static_cast<std::size_t>(button)]; }

char16_t LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.front().unicode() : u'.';
}

}  // namespace

CalculatorLayout LayOutCalculator(QSize size) {
    CalculatorLayout layout;
    const bool wide = size.width() > 200;
    layout.border = wide ? 6 : 4;
    layout.gap = wide ? 4 : 2;
    // Six columns with five gaps between them, the memory column's counted twice.
    const int columnSpace = size.width() - 2 * layout.border - 6 * layout.gap;
    layout.columnWidth = columnSpace / 6;
    layout.memoryGap = 2 * layout.gap + columnSpace % 6;
    // The display and five rows of buttons, with a gap below each but the last.
    const int rowSpace = size.height() - 2 * layout.border - 5 * layout.gap;
    layout.rowHeight = rowSpace / 6;
    layout.display =
        QRect(layout.border, layout.border, size.width() - 2 * layout.border, layout.rowHeight + rowSpace % 6);
    return layout;
}

QRect CalculatorLayout::Button(CalcButton button) const {
    const GridPlace place = FaceOf(button).place;
    auto columnLeft = [this](int column) {
        return column == 0 ? border : border + columnWidth + memoryGap + (column - 1) * (columnWidth + gap);
    };
    const int top = display.bottom() + 1 + gap + place.row * (rowHeight + gap);
    if (place.editSlot < 0) return QRect(columnLeft(place.column), top, columnWidth, rowHeight);
    // Back, CE and C divide the width of the last four columns; the last takes what does not divide.
    const int spanLeft = columnLeft(place.column);
    const int spanRight = columnLeft(5) + columnWidth;
    const int width = (spanRight - spanLeft - 2 * gap) / 3;
    const int left = spanLeft + place.editSlot * (width + gap);
    return QRect(left, top, place.editSlot == 2 ? spanRight - left : width, rowHeight);
}

class TOvcCalculator::Surroundings final : public CalculatorSurroundings {
public:
    void Beep() override { QApplication::beep(); }

    std::optional<std::u16string> ClipboardText() override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText()) return std::nullopt;
        return data->text().toStdU16String();
    }

    void SetClipboardText(std::u16string_view text) override {
        QGuiApplication::clipboard()->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    }
};

TOvcCalculator::TOvcCalculator(QWidget* parent)
    : QWidget(parent),
      surroundings_(std::make_unique<Surroundings>()),
      engine_(*surroundings_, LocaleDecimalSeparator()) {
    UseAccessibleInterface<TOvcCalculator, AccessibleCalculator>();
    setFocusPolicy(Qt::StrongFocus);
    setFont(ui::SmallFont());
    TapeFont = ui::NormalFont();
    Colors.Display = palette().color(QPalette::Base);
    Colors.DisplayTextColor = palette().color(QPalette::Text);
    setAccessibleName(QStringLiteral("Calculator"));
}

TOvcCalculator::~TOvcCalculator() = default;

QString TOvcCalculator::Caption(CalcButton button) const {
    if (button == CalcButton::Decimal) return QString(QChar(engine_.DecimalSeparator()));
    return QString::fromLatin1(FaceOf(button).caption);
}

std::optional<CalcButton> TOvcCalculator::ButtonForCaption(const QString& caption) const {
    if (caption == QLatin1String(".")) return CalcButton::Decimal;
    for (const KeyFace& face : kKeypad) {
        if (Caption(face.button) == caption) return face.button;
    }
    return std::nullopt;
}

QRect TOvcCalculator::ButtonRect(CalcButton button) const { return LayOutCalculator(size()).Button(button); }

QRect TOvcCalculator::DisplayRect() const { return LayOutCalculator(size()).display; }

std::optional<CalcButton> TOvcCalculator::ButtonAt(QPoint position) const {
    const CalculatorLayout layout = LayOutCalculator(size());
    for (const KeyFace& face : kKeypad) {
        if (layout.Button(face.button).contains(position)) return face.button;
    }
    return std::nullopt;
}

bool TOvcCalculator::AcceptsClick(CalcButton button) const {
    const bool idleOnZeroMemory = button == CalcButton::MemoryClear || button == CalcButton::MemoryRecall;
    return !idleOnZeroMemory || engine_.Memory() != 0;
}

QColor TOvcCalculator::CaptionColor(CalcButton button) const {
    switch (FaceOf(button).group) {
        case ButtonGroup::Number: return Colors.NumberButtons;
        case ButtonGroup::Edit: return Colors.EditButtons;
        case ButtonGroup::Function: return Colors.FunctionButtons;
        case ButtonGroup::Operator: return Colors.OperatorButtons;
        case ButtonGroup::Memory: return AcceptsClick(button) ? Colors.MemoryButtons : Colors.DisabledMemoryButtons;
    }
    return {};
}

void TOvcCalculator::PasteFromClipboard() {
    engine_.Paste();
    DisplayChanged();
}

void TOvcCalculator::PressButton(CalcButton button) {
    if (!AcceptsClick(button)) return;
    engine_.Press(button);
    DisplayChanged();
}

void TOvcCalculator::DisplayChanged() {
    update();
    NotifyValueChanged(this, QString::fromStdU16String(engine_.DisplayText()));
}

void TOvcCalculator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush background = palette().button();
    qDrawWinPanel(&painter, rect(), palette(), false, &background);
    DrawDisplay(painter);
    for (const KeyFace& face : kKeypad) DrawButton(painter, face.button);
}

void TOvcCalculator::DrawDisplay(QPainter& painter) const {
    const QRect frame = DisplayRect();
    const QBrush background(Colors.Display);
    qDrawWinPanel(&painter, frame, palette(), true, &background);
    const QRect inner = frame.adjusted(3, 2, -3, -2);
    // The text stands right-aligned in units of the average digit width: as many units as fit the
    // display, the text's characters in the last of them but two, and two blank units after it.
    painter.setFont(TapeFont);
    const QFontMetricsF metrics(TapeFont);
    const qreal unit = metrics.horizontalAdvance(QStringLiteral("0123456789")) / 10;
    const QString text = QString::fromStdU16String(Engine().DisplayText());
    const int units = static_cast<int>(inner.width() / unit);
    const qreal left = inner.left() + (units - static_cast<int>(text.size()) - 2) * unit;
    painter.save();
    painter.setClipRect(inner);
    painter.setPen(Colors.DisplayTextColor);
    painter.drawText(QRectF(left, inner.top(), inner.right() + 1 - left, inner.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter.restore();
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inner.adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TOvcCalculator::DrawButton(QPainter& painter, CalcButton button) const {
    const QRect face = ButtonRect(button);
    const bool sunken = pressed_ == button && pressedInside_;
    const QBrush fill = palette().button();
    qDrawWinButton(&painter, face, palette(), sunken, &fill);
    painter.setFont(font());
    painter.setPen(CaptionColor(button));
    painter.drawText(sunken ? face.translated(1, 1) : face, Qt::AlignCenter, Caption(button));
}

void TOvcCalculator::keyPressEvent(QKeyEvent* event) {
    std::optional<CalcButton> button;
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        switch (event->key()) {
            case Qt::Key_L: button = CalcButton::MemoryClear; break;
            case Qt::Key_R: button = CalcButton::MemoryRecall; break;
            case Qt::Key_M: button = CalcButton::MemoryStore; break;
            case Qt::Key_P: button = CalcButton::MemoryAdd; break;
            case Qt::Key_S: button = CalcButton::MemorySubtract; break;
            case Qt::Key_C: engine_.CopyDisplay(); return;
            case Qt::Key_V: PasteFromClipboard(); return;
            default: QWidget::keyPressEvent(event); return;
        }
    } else {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter: button = CalcButton::Equals; break;
            case Qt::Key_F9: button = CalcButton::Sign; break;
            case Qt::Key_Backspace: button = CalcButton::Back; break;
            case Qt::Key_Delete: button = CalcButton::ClearEntry; break;
            case Qt::Key_Escape: button = CalcButton::Clear; break;
            default:
                if (event->text().size() == 1) button = engine_.TypedCharacterButton(event->text().front().unicode());
                break;
        }
    }
    if (!button) return QWidget::keyPressEvent(event);
    engine_.Press(*button);
    DisplayChanged();
}

void TOvcCalculator::mousePressEvent(QMouseEvent* event) {
    const auto button = ButtonAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !button || !AcceptsClick(*button)) return QWidget::mousePressEvent(event);
    pressed_ = button;
    pressedInside_ = true;
    update();
}

void TOvcCalculator::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return QWidget::mouseMoveEvent(event);
    const bool inside = ButtonRect(*pressed_).contains(event->position().toPoint());
    if (inside != pressedInside_) {
        pressedInside_ = inside;
        update();
    }
}

void TOvcCalculator::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return QWidget::mouseReleaseEvent(event);
    // A button acts only when the mouse comes up over the button it went down on.
    const CalcButton button = *pressed_;
    pressed_.reset();
    if (ButtonAt(event->position().toPoint()) == button) {
        PressButton(button);
    } else {
        update();
    }
}

void TOvcCalculator::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TOvcCalculator::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace quillon
