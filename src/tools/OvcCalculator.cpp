#include "tools/OvcCalculator.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

#include "app/Controls.h"

namespace quillon {
namespace {

// A button's place: a row of buttons (0 to 4) and a column (0, the memory column, to 5), or for
// Back, CE and C one of three slots that share the last four columns of the first row.
struct GridPlace {
    int row = 0;
    int column = 0;
    int editSlot = -1;
};

GridPlace PlaceOf(CalcButton button) {
    switch (button) {
        case CalcButton::MemoryClear: return {0, 0};
        case CalcButton::Back: return {0, 2, 0};
        case CalcButton::ClearEntry: return {0, 2, 1};
        case CalcButton::Clear: return {0, 2, 2};
        case CalcButton::MemoryRecall: return {1, 0};
        case CalcButton::Digit7: return {1, 1};
        case CalcButton::Digit8: return {1, 2};
        case CalcButton::Digit9: return {1, 3};
        case CalcButton::Divide: return {1, 4};
        case CalcButton::Sqrt: return {1, 5};
        case CalcButton::MemoryStore: return {2, 0};
        case CalcButton::Digit4: return {2, 1};
        case CalcButton::Digit5: return {2, 2};
        case CalcButton::Digit6: return {2, 3};
        case CalcButton::Multiply: return {2, 4};
        case CalcButton::Percent: return {2, 5};
        case CalcButton::MemoryAdd: return {3, 0};
        case CalcButton::Digit1: return {3, 1};
        case CalcButton::Digit2: return {3, 2};
        case CalcButton::Digit3: return {3, 3};
        case CalcButton::Subtract: return {3, 4};
        case CalcButton::Reciprocal: return {3, 5};
        case CalcButton::MemorySubtract: return {4, 0};
        case CalcButton::Digit0: return {4, 1};
        case CalcButton::Sign: return {4, 2};
        case CalcButton::Decimal: return {4, 3};
        case CalcButton::Add: return {4, 4};
        case CalcButton::Equals: return {4, 5};
    }
    return {};
}

constexpr int kButtonCount = static_cast<int>(CalcButton::MemorySubtract) + 1;

CalcButton ButtonNumber(int index) { return static_cast<CalcButton>(index); }

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
    layout.display = QRect(layout.border, layout.border, size.width() - 2 * layout.border,
                           layout.rowHeight + rowSpace % 6);
    return layout;
}

QRect CalculatorLayout::Button(CalcButton button) const {
    const GridPlace place = PlaceOf(button);
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
    setFocusPolicy(Qt::StrongFocus);
    setFont(ui::SmallFont());
    TapeFont = ui::NormalFont();
    Colors.Display = palette().color(QPalette::Base);
    Colors.DisplayTextColor = palette().color(QPalette::Text);
}

TOvcCalculator::~TOvcCalculator() = default;

QString TOvcCalculator::Caption(CalcButton button) const {
    switch (button) {
        case CalcButton::Digit0:
        case CalcButton::Digit1:
        case CalcButton::Digit2:
        case CalcButton::Digit3:
        case CalcButton::Digit4:
        case CalcButton::Digit5:
        case CalcButton::Digit6:
        case CalcButton::Digit7:
        case CalcButton::Digit8:
        case CalcButton::Digit9:
            return QString::number(static_cast<int>(button) - static_cast<int>(CalcButton::Digit0));
        case CalcButton::Decimal: return QString(QChar(engine_.DecimalSeparator()));
        case CalcButton::Back: return QStringLiteral("Back");
        case CalcButton::ClearEntry: return QStringLiteral("CE");
        case CalcButton::Clear: return QStringLiteral("C");
        case CalcButton::Sign: return QStringLiteral("+/-");
        case CalcButton::Add: return QStringLiteral("+");
        case CalcButton::Subtract: return QStringLiteral("-");
        case CalcButton::Multiply: return QStringLiteral("*");
        case CalcButton::Divide: return QStringLiteral("/");
        case CalcButton::Equals: return QStringLiteral("=");
        case CalcButton::Percent: return QStringLiteral("%");
        case CalcButton::Reciprocal: return QStringLiteral("1/x");
        case CalcButton::Sqrt: return QStringLiteral("Sqrt");
        case CalcButton::MemoryClear: return QStringLiteral("MC");
        case CalcButton::MemoryRecall: return QStringLiteral("MR");
        case CalcButton::MemoryStore: return QStringLiteral("MS");
        case CalcButton::MemoryAdd: return QStringLiteral("M+");
        case CalcButton::MemorySubtract: return QStringLiteral("M-");
    }
    return {};
}

std::optional<CalcButton> TOvcCalculator::ButtonForCaption(const QString& caption) const {
    if (caption == QLatin1String(".")) return CalcButton::Decimal;
    for (int i = 0; i < kButtonCount; ++i) {
        if (Caption(ButtonNumber(i)) == caption) return ButtonNumber(i);
    }
    return std::nullopt;
}

QRect TOvcCalculator::ButtonRect(CalcButton button) const { return LayOutCalculator(size()).Button(button); }

QRect TOvcCalculator::DisplayRect() const { return LayOutCalculator(size()).display; }

std::optional<CalcButton> TOvcCalculator::ButtonAt(QPoint position) const {
    const CalculatorLayout layout = LayOutCalculator(size());
    for (int i = 0; i < kButtonCount; ++i) {
        if (layout.Button(ButtonNumber(i)).contains(position)) return ButtonNumber(i);
    }
    return std::nullopt;
}

bool TOvcCalculator::AcceptsClick(CalcButton button) const {
    const bool readsMemory = button == CalcButton::MemoryClear || button == CalcButton::MemoryRecall;
    return !readsMemory || engine_.Memory() != 0;
}

QColor TOvcCalculator::CaptionColor(CalcButton button) const {
    switch (button) {
        case CalcButton::Digit0:
        case CalcButton::Digit1:
        case CalcButton::Digit2:
        case CalcButton::Digit3:
        case CalcButton::Digit4:
        case CalcButton::Digit5:
        case CalcButton::Digit6:
        case CalcButton::Digit7:
        case CalcButton::Digit8:
        case CalcButton::Digit9:
        case CalcButton::Decimal: return Colors.NumberButtons;
        case CalcButton::Back:
        case CalcButton::ClearEntry:
        case CalcButton::Clear: return Colors.EditButtons;
        case CalcButton::Sign:
        case CalcButton::Percent:
        case CalcButton::Reciprocal:
        case CalcButton::Sqrt: return Colors.FunctionButtons;
        case CalcButton::Add:
        case CalcButton::Subtract:
        case CalcButton::Multiply:
        case CalcButton::Divide:
        case CalcButton::Equals: return Colors.OperatorButtons;
        case CalcButton::MemoryClear:
        case CalcButton::MemoryRecall:
            return AcceptsClick(button) ? Colors.MemoryButtons : Colors.DisabledMemoryButtons;
        case CalcButton::MemoryStore:
        case CalcButton::MemoryAdd:
        case CalcButton::MemorySubtract: return Colors.MemoryButtons;
    }
    return {};
}

void TOvcCalculator::PasteFromClipboard() {
    engine_.Paste();
    update();
}

void TOvcCalculator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush face = palette().button();
    qDrawWinPanel(&painter, rect(), palette(), false, &face);
    DrawDisplay(painter);
    for (int i = 0; i < kButtonCount; ++i) DrawButton(painter, ButtonNumber(i));
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
    update();
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
    if (ButtonAt(event->position().toPoint()) == button) engine_.Press(button);
    update();
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
