#pragma once
// The fixture of the tests that meet the windows as a screen reader and a keyboard user do: the
// program's windows with the accessibility bridge active, messages and the desktop recorded, and
// the keyboard's walk from control to control.

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "support/RecordingMessages.h"
#include "support/RecordingShell.h"
#include "windows/analysis/Windows.h"

namespace quillon::test {

// Shows the window and waits until it has the keyboard.
inline void ShowAndActivate(QWidget* window) {
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
}

// The widgets that Tab visits from the focus widget on, once round the window.
inline std::vector<QWidget*> TabRound(QWidget* window) {
    std::vector<QWidget*> visited;
    QWidget* first = QApplication::focusWidget();
    if (!first) return visited;
    QWidget* current = first;
    for (int step = 0; step < 100; ++step) {
        visited.push_back(current);
        QTest::keyClick(current, Qt::Key_Tab);
        current = QApplication::focusWidget();
        if (!current || current == first || current->window() != window) break;
    }
    return visited;
}

inline bool Contains(const std::vector<QWidget*>& widgets, const QWidget* widget) {
    return std::find(widgets.begin(), widgets.end(), widget) != widgets.end();
}

// The program's windows, made for each test, with a screen reader listening.
class Accessibility : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QAccessible::setActive(true); }

    // The analysis window, shown with its date panel open and MARY analysed.
    void OpenAnalysis() {
        ShowAndActivate(&windows.CalcFrm);
        windows.CalcFrm.CalendarBtnClick();
        windows.CalcFrm.PutPastedText("MARY");
        QApplication::processEvents();
    }

    RecordingMessages messages;
    RecordingShell shell;
    Windows windows;
};

}  // namespace quillon::test
