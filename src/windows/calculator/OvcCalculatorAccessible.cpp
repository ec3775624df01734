#include "windows/calculator/OvcCalculatorAccessible.h"

#include <algorithm>
#include <array>

#include "windows/calculator/OvcCalculator.h"

namespace quillon {
namespace {

constexpr int kButtonCount = static_cast<int>(CalcButton::MemorySubtract) + 1;

// What a button does, in words, and the key that presses it in the calculator window (C has
// none there: Esc closes the window).
struct KeyMeaning {
    const char* description;
    const char* key;
};

KeyMeaning MeaningOf(CalcButton button) {
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
        case CalcButton::Digit9: return {"Digit", nullptr};
        case CalcButton::Decimal: return {"Decimal point", nullptr};
        case CalcButton::Back: return {"Delete the last digit", "Backspace"};
        case CalcButton::ClearEntry: return {"Clear the entry", "Del"};
        case CalcButton::Clear: return {"Clear the calculation", nullptr};
        case CalcButton::Sign: return {"Change the sign", "F9"};
        case CalcButton::Add: return {"Add", "+"};
        case CalcButton::Subtract: return {"Subtract", "-"};
        case CalcButton::Multiply: return {"Multiply", "*"};
        case CalcButton::Divide: return {"Divide", "/"};
        case CalcButton::Equals: return {"Equals", "="};
        case CalcButton::Percent: return {"Percent", "%"};
        case CalcButton::Reciprocal: return {"Reciprocal", "R"};
        case CalcButton::Sqrt: return {"Square root", "@"};
        case CalcButton::MemoryClear: return {"Memory clear", "Ctrl+L"};
        case CalcButton::MemoryRecall: return {"Memory recall", "Ctrl+R"};
        case CalcButton::MemoryStore: return {"Memory store", "Ctrl+M"};
        case CalcButton::MemoryAdd: return {"Memory add", "Ctrl+P"};
        case CalcButton::MemorySubtract: return {"Memory subtract", "Ctrl+S"};
    }
    return {};
}

// The buttons in reading order: row by row, from left to right.
const std::array<CalcButton, kButtonCount>& ReadingOrder() {
    static const std::array<CalcButton, kButtonCount> order = [] {
        std::array<CalcButton, kButtonCount> buttons{};
        for (int i = 0; i < kButtonCount; ++i) buttons[static_cast<std::size_t>(i)] = static_cast<CalcButton>(i);
        const CalculatorLayout layout = LayOutCalculator({218, 167});
        std::stable_sort(buttons.begin(), buttons.end(), [&layout](CalcButton a, CalcButton b) {
            const QRect ra = layout.Button(a), rb = layout.Button(b);
            return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
        });
        return buttons;
    }();
    return order;
}

// A part of the calculator that is drawn, not a widget: the display or a button.
class CalculatorPart : public QAccessibleInterface {
public:
    explicit CalculatorPart(AccessibleCalculator* owner) : owner_(owner) {}

    bool isValid() const override { return owner_->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return owner_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect local = Place();
        return QRect(Calculator()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !Calculator()->isVisible();
        return state;
    }

protected:
    TOvcCalculator* Calculator() const { return owner_->Calculator(); }
    virtual QRect Place() const = 0;

private:
    AccessibleCalculator* owner_;
};

class DisplayPart final : public CalculatorPart {
public:
    using CalculatorPart::CalculatorPart;

    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: return QStringLiteral("Display");
            case QAccessible::Value: return QString::fromStdU16String(Calculator()->Engine().DisplayText());
            default: return {};
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = CalculatorPart::state();
        state.readOnly = true;
        return state;
    }

protected:
    QRect Place() const override { return Calculator()->DisplayRect(); }
};

class ButtonPart final : public CalculatorPart, public QAccessibleActionInterface {
public:
    ButtonPart(AccessibleCalculator* owner, CalcButton button) : CalculatorPart(owner), button_(button) {}

    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: return Calculator()->Caption(button_);
            case QAccessible::Description: return QString::fromLatin1(MeaningOf(button_).description);
            default: return {};
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = CalculatorPart::state();
        state.disabled = !Calculator()->AcceptsClick(button_);
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) Calculator()->PressButton(button_);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action != pressAction()) return {};
        const char* key = MeaningOf(button_).key;
        return {key ? QString::fromLatin1(key) : Calculator()->Caption(button_)};
    }

protected:
    QRect Place() const override { return Calculator()->ButtonRect(button_); }

private:
    CalcButton button_;
};

}  // namespace

AccessibleCalculator::AccessibleCalculator(TOvcCalculator* calculator)
    : QAccessibleWidget(calculator, QAccessible::Grouping) {}

AccessibleCalculator::~AccessibleCalculator() {
    for (QAccessibleInterface* part : children_) {
        if (part) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(part));
    }
}

TOvcCalculator* AccessibleCalculator::Calculator() const { return static_cast<TOvcCalculator*>(widget()); }

QString AccessibleCalculator::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return QString::fromStdU16String(Calculator()->Engine().DisplayText());
    return QAccessibleWidget::text(t);
}

int AccessibleCalculator::childCount() const { return 1 + kButtonCount; }

QAccessibleInterface* AccessibleCalculator::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    children_.resize(static_cast<std::size_t>(childCount()), nullptr);
    QAccessibleInterface*& part = children_[static_cast<std::size_t>(index)];
    if (!part) {
        auto* self = const_cast<AccessibleCalculator*>(this);
        if (index == 0) {
            part = new DisplayPart(self);
        } else {
            part = new ButtonPart(self, ReadingOrder()[static_cast<std::size_t>(index - 1)]);
        }
        QAccessible::registerAccessibleInterface(part);
    }
    return part;
}

int AccessibleCalculator::indexOfChild(const QAccessibleInterface* child) const {
    const auto found = std::find(children_.begin(), children_.end(), child);
    return found == children_.end() ? -1 : static_cast<int>(found - children_.begin());
}

QAccessibleInterface* AccessibleCalculator::childAt(int x, int y) const {
    const QPoint local = Calculator()->mapFromGlobal(QPoint(x, y));
    if (Calculator()->DisplayRect().contains(local)) return child(0);
    const auto button = Calculator()->ButtonAt(local);
    if (!button) return nullptr;
    const auto& order = ReadingOrder();
    return child(1 + static_cast<int>(std::find(order.begin(), order.end(), *button) - order.begin()));
}

}  // namespace quillon
