// The calculator's keypad as a screen reader meets it: its buttons are children of their own that
// press like clicks and tell their keys.

#include "windows/calculator/OvcCalculatorAccessible.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

#include "support/AccessibilityFixture.h"
#include "windows/calculator/OvcCalculator.h"

namespace quillon {
namespace {

using test::Accessibility;

TEST_F(Accessibility, TheKeypadsButtonsAreChildrenThatPressLikeClicks) {
    windows.CalculatorFrm.ShowBesideOwner();
    TOvcCalculator& calculator = *windows.CalculatorFrm.OvcCalculator1;
    QAccessibleInterface* keypad = QAccessible::queryAccessibleInterface(&calculator);
    ASSERT_NE(keypad, nullptr);
    EXPECT_EQ(keypad->role(), QAccessible::Grouping);
    EXPECT_EQ(keypad->text(QAccessible::Name), "Calculator");
    ASSERT_EQ(keypad->childCount(), 29);

    // The display first, then the buttons row by row in reading order.
    QStringList captions;
    for (int i = 1; i < keypad->childCount(); ++i) captions << keypad->child(i)->text(QAccessible::Name);
    EXPECT_EQ(captions.join(QLatin1Char(' ')),
              "MC Back CE C MR 7 8 9 / Sqrt MS 4 5 6 * % M+ 1 2 3 - 1/x M- 0 +/- . + =");
    QAccessibleInterface* display = keypad->child(0);
    EXPECT_EQ(display->role(), QAccessible::StaticText);
    EXPECT_EQ(display->text(QAccessible::Name), "Display");

    const auto press = [&](const QString& caption) {
        for (int i = 1; i < keypad->childCount(); ++i) {
            QAccessibleInterface* button = keypad->child(i);
            if (button->text(QAccessible::Name) != caption) continue;
            QAccessibleActionInterface* actions = button->actionInterface();
            ASSERT_NE(actions, nullptr) << caption.toStdString();
            ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            actions->doAction(QAccessibleActionInterface::pressAction());
            return;
        }
        ADD_FAILURE() << "no button " << caption.toStdString();
    };
    for (const char* caption : {"1", "2", "+", "3", "="}) press(QString::fromLatin1(caption));
    EXPECT_EQ(display->text(QAccessible::Value), "15.00");
    EXPECT_EQ(keypad->text(QAccessible::Value), "15.00");

    // MR takes no press while the memory is empty, and says so; MS fills it.
    QAccessibleInterface* recall = keypad->child(5);
    ASSERT_EQ(recall->text(QAccessible::Name), "MR");
    EXPECT_TRUE(recall->state().disabled);
    press("MS");
    EXPECT_FALSE(recall->state().disabled);
    EXPECT_EQ(recall->text(QAccessible::Description), "Memory recall");

    // Each button tells its key, and the key does what the press does.
    const std::pair<QString, QString> keys[] = {{"Sqrt", "@"}, {"M+", "Ctrl+P"}, {"7", "7"}};
    for (const auto& [caption, key] : keys) {
        bool found = false;
        for (int i = 1; i < keypad->childCount(); ++i) {
            QAccessibleInterface* button = keypad->child(i);
            if (button->text(QAccessible::Name) != caption) continue;
            found = true;
            EXPECT_EQ(button->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                      QStringList{key});
        }
        EXPECT_TRUE(found) << caption.toStdString();
    }
    press("C");
    press("9");
    press("Sqrt");
    const QString byAction = display->text(QAccessible::Value);
    QTest::keyClicks(&calculator, "9@");
    EXPECT_EQ(display->text(QAccessible::Value), byAction);
    EXPECT_EQ(byAction, "3.00");

    // The parts stand where they are drawn, and the point in a button finds it.
    const QRect equals = calculator.ButtonRect(CalcButton::Equals);
    QAccessibleInterface* atEquals =
        keypad->childAt(calculator.mapToGlobal(equals.center()).x(), calculator.mapToGlobal(equals.center()).y());
    ASSERT_NE(atEquals, nullptr);
    EXPECT_EQ(atEquals->text(QAccessible::Name), "=");
    EXPECT_EQ(atEquals->rect(), QRect(calculator.mapToGlobal(equals.topLeft()), equals.size()));
    EXPECT_EQ(keypad->indexOfChild(atEquals), 28);
}

}  // namespace
}  // namespace quillon
