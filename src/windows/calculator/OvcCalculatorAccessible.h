#pragma once
// How the calculator control appears to a screen reader: a group named "Calculator" whose value
// is the number on its display, with the display and every keypad button as its children, in
// reading order (the display, then the rows of buttons from left to right). The buttons are drawn,
// not widgets, so each is an interface of its own with its caption as name, what it does as
// description, its key and a press action that works as a click on it.

#include <QAccessibleWidget>
#include <vector>

namespace quillon {

class TOvcCalculator;

class AccessibleCalculator final : public QAccessibleWidget {
public:
    explicit AccessibleCalculator(TOvcCalculator* calculator);
    ~AccessibleCalculator() override;

    QAccessible::Role role() const override { return QAccessible::Grouping; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    TOvcCalculator* Calculator() const;

private:
    // The children, made when first asked for and registered with Qt; index 0 is the display.
    mutable std::vector<QAccessibleInterface*> children_;
};

}  // namespace quillon
