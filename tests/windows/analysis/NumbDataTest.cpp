// The data field of the analysis window (NumbData.cpp) and the Y question it asks: a Y typed or
// pasted in every way there is, accented Ys with and without folding, and the caret after the
// answer.

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "numerology/Analysis.h"
#include "support/QtPrint.h"
#include "support/YQuestion.h"
#include "windows/analysis/Numb.h"

namespace quillon {
namespace {

using test::kConsonant;
using test::kVowel;
using test::Person;
using test::Step;
using test::YDialog;

TEST_F(YDialog, PasteWithoutYAsksNothing) {
    Person none(windows, {kVowel});
    Paste("john");
    QApplication::processEvents();
    EXPECT_TRUE(none.seen.empty());
    EXPECT_EQ(calc.Data->text(), "JOHN");
}

TEST_F(YDialog, TypedVowelEndToEnd) {
    QTest::keyClicks(calc.Data, "mar");
    EXPECT_EQ(calc.Total->text(), "14 / 5");
    Person answers(windows, {kVowel});
    QTest::keyClicks(calc.Data, "y");
    ASSERT_TRUE(answers.Done());
    EXPECT_EQ(answers.seen[0].dataBx, "MARY");
    EXPECT_EQ(answers.seen[0].position, 4);
    EXPECT_EQ(calc.Data->text(), "MARy");
    EXPECT_EQ(calc.VTotal->text(), "8");
    EXPECT_EQ(calc.CTotal->text(), "13 / 4");
    EXPECT_EQ(calc.Total->text(), "21 / 3");
    EXPECT_EQ(calc.Data->cursorPosition(), 4);
    EXPECT_FALSE(calc.State().YFromTyping);
    EXPECT_EQ(calc.State().PendingYPosition, 0);
}

TEST_F(YDialog, EveryWayOfPastingIntoTheFieldIsAPaste) {
    // Text that reaches the field without a typed key is trimmed and upper-cased, goes where the
    // field puts it (at the caret or over the selection) within the field's limit, and each Y it
    // brings is asked about, left to right; Ys that were there before are not asked about again.
    enum class Way { Menu, ShiftInsert, MiddleButton, Drop };
    struct Case {
        Way way;
        const char* data;
        int selectionStart;
        int selectionLength;  // 0: the caret stands at selectionStart
        const char* pasted;
        std::vector<Step> answers;
        const char* result;
        std::vector<int> asked;
    };
    const std::string fortyLessFour(36, 'A');
    const std::string fortyLessTwo(38, 'A');
    const std::string fortyLessTwoAndE = fortyLessTwo + "é";
    const Case cases[] = {
        {Way::Menu, "JOHN SMITH", 5, 5, " mary y\n", {kVowel, kConsonant}, "JOHN MARy Y", {9, 11}},
        {Way::ShiftInsert, "JOHN SMITH", 5, 5, " mary y\n", {kConsonant, kVowel}, "JOHN MARY y", {9, 11}},
        {Way::MiddleButton, "JOHN ", 5, 0, "\tmary y ", {kVowel, kVowel}, "JOHN MARy y", {9, 11}},
        {Way::Drop, "JOHN ", 5, 0, "mary y", {kConsonant, kConsonant}, "JOHN MARY Y", {9, 11}},
        {Way::ShiftInsert, "YY", 2, 0, "john", {}, "YYJOHN", {}},
        {Way::Menu, "AB", 1, 0, "zz", {}, "AZZB", {}},
        {Way::ShiftInsert,
         fortyLessFour.c_str(),
         36,
         0,
         "mary y",
         {kVowel},
         "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAMARy",
         {40}},
        // A mark that comes first joins the letter before the caret; the letters after it move up.
        {Way::ShiftInsert, "JOSE", 4, 0, "\u0301 y", {kVowel}, "JOSÉ y", {6}},
        {Way::Menu, "JOSE SMITH", 4, 6, "\u0301 y", {kConsonant}, "JOSÉ Y", {6}},
        // Composed before it is cut: the letter fits, the letter that would lose its mark is left out.
        {Way::ShiftInsert, fortyLessTwo.c_str(), 38, 0, "e\u0301q\u0301", {}, fortyLessTwoAndE.c_str(), {}},
    };
    for (const Case& c : cases) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        // Off-screen there is no selection to paste; under X11 (see the X11 run in CMakeLists) there is.
        if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("xcb")) {
            ASSERT_TRUE(clipboard->supportsSelection());
        }
        if (c.way == Way::MiddleButton && !clipboard->supportsSelection()) continue;
        calc.Data->setText(QString::fromUtf8(c.data));
        calc.Data->setSelection(c.selectionStart, c.selectionLength);
        if (c.selectionLength == 0) calc.Data->setCursorPosition(c.selectionStart);
        const QString pasted = QString::fromUtf8(c.pasted);
        Person person(windows, c.answers);
        switch (c.way) {
            case Way::Menu: {
                clipboard->setText(pasted);
                QTimer::singleShot(0, [] {
                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    ASSERT_NE(menu, nullptr);
                    QAction* paste = menu->findChild<QAction*>("edit-paste");
                    ASSERT_NE(paste, nullptr);
                    menu->hide();
                    paste->trigger();
                });
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), calc.Data->mapToGlobal(QPoint(5, 5)));
                QApplication::sendEvent(calc.Data, &event);
                break;
            }
            case Way::ShiftInsert:
                clipboard->setText(pasted);
                QTest::keyClick(calc.Data, Qt::Key_Insert, Qt::ShiftModifier);
                break;
            case Way::MiddleButton:
                clipboard->setText(pasted, QClipboard::Selection);
                QTest::mouseClick(calc.Data, Qt::MiddleButton, {},
                                  QPoint(calc.Data->width() - 4, calc.Data->height() / 2));
                break;
            case Way::Drop: {
                QMimeData mime;
                mime.setText(pasted);
                const QPoint end(calc.Data->width() - 4, calc.Data->height() / 2);
                // A drop goes to the widget that took the drag when it entered.
                QDragEnterEvent enter(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(calc.Data, &enter);
                QDropEvent drop(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(calc.Data, &drop);
                break;
            }
        }
        EXPECT_EQ(calc.Data->text(), QString::fromUtf8(c.result)) << c.pasted;
        std::vector<int> asked;
        for (const auto& seen : person.seen) asked.push_back(seen.position);
        EXPECT_EQ(asked, c.asked) << c.pasted;
        EXPECT_FALSE(person.leftOpen) << c.pasted;
        AnalysisState state;
        EXPECT_EQ(calc.Total->text().toStdString(), RunAnalysis(state, calc.Data->text().toStdU16String()).total);
    }
}

TEST_F(YDialog, AnAccentedYIsAskedAboutLikeYWhenAccentsAreFolded) {
    // With folding an accented y is a Y: typed, composed by an input method or pasted, it is
    // upper-cased and asked about, and Vowel gives back its accented small form. Without folding
    // it is an other character, never asked about. The other letters stay as they were typed.
    enum class Way { Type, Compose, Paste, ShiftInsert };
    struct Case {
        bool fold;
        Way way;
        const char* input;
        std::vector<Step> answers;
        const char* data;
        std::vector<int> asked;
    };
    const Case cases[] = {
        {true, Way::Type, "marý", {kVowel}, "MARý", {4}},
        {true, Way::Type, "Ý", {kConsonant}, "Ý", {1}},
        {true, Way::Type, "ýé", {kVowel}, "ýé", {1}},
        {true, Way::Compose, "ý", {kVowel}, "ý", {1}},
        {true, Way::Paste, "marý", {kVowel}, "MARý", {4}},
        {true, Way::Paste, "ÝÝ", {kVowel, kConsonant}, "ýÝ", {1, 2}},
        {true, Way::Paste, "ÝyÝ", {kConsonant, kVowel, kVowel}, "Ýyý", {1, 2, 3}},
        {true, Way::ShiftInsert, "ý", {kVowel}, "ý", {1}},
        {false, Way::Type, "marý", {}, "MARý", {}},
        {false, Way::Type, "Ý", {}, "Ý", {}},
        {false, Way::Compose, "ý", {}, "ý", {}},
        {false, Way::Paste, "ÝÝ", {}, "ÝÝ", {}},
        {false, Way::Paste, "marý", {}, "MARý", {}},
        // A Y and a combining mark are the accented Y: asked about as it is, once.
        {true, Way::Paste, "mary\u0301", {kVowel}, "MARý", {4}},
        {true, Way::Paste, "Y\u0308Y\u0308", {kVowel, kConsonant}, "ÿŸ", {1, 2}},
        {true, Way::Compose, "y\u0301", {kVowel}, "ý", {1}},
        {true, Way::Type, "mary\u0301", {kVowel}, "MARý", {4}},
        {true, Way::Type, "mary\u0301", {kConsonant}, "MARÝ", {4}},
        {false, Way::Paste, "Y\u0308Y\u0308", {}, "ŸŸ", {}},
        {false, Way::Paste, "mary\u0301", {}, "MARý", {}},
        {false, Way::Compose, "y\u0301", {}, "ý", {}},
    };
    for (const Case& c : cases) {
        const QString input = QString::fromUtf8(c.input);
        calc.ClearBtnClick();
        calc.SetFoldAccents(c.fold);
        Person person(windows, c.answers);
        switch (c.way) {
            case Way::Type:
                // A letter of a keyboard layout: the key of its capital, with the letter as its text.
                for (const QChar c : input) {
                    QTest::sendKeyEvent(QTest::Click, calc.Data, Qt::Key(c.toUpper().unicode()), QString(c), {});
                }
                break;
            case Way::Compose: {
                QInputMethodEvent composed;
                composed.setCommitString(input);
                QApplication::sendEvent(calc.Data, &composed);
                break;
            }
            case Way::Paste: Paste(input); break;
            case Way::ShiftInsert:
                QGuiApplication::clipboard()->setText(input);
                QTest::keyClick(calc.Data, Qt::Key_Insert, Qt::ShiftModifier);
                break;
        }
        const std::string name = std::string(c.input) + (c.fold ? " folded" : " not folded");
        EXPECT_EQ(calc.Data->text(), QString::fromUtf8(c.data)) << name;
        std::vector<int> asked;
        for (const auto& seen : person.seen) asked.push_back(seen.position);
        EXPECT_EQ(asked, c.asked) << name;
        EXPECT_FALSE(person.leftOpen) << name;
        AnalysisState state;
        state.foldAccents = c.fold;
        const AnalysisShown shown = RunAnalysis(state, calc.Data->text().toStdU16String());
        EXPECT_EQ(calc.VTotal->text().toStdString(), shown.vTotal) << name;
        EXPECT_EQ(calc.Total->text().toStdString(), shown.total) << name;
    }
    calc.SetFoldAccents(false);
}

TEST_F(YDialog, TypedConsonantKeepsTheText) {
    QTest::keyClicks(calc.Data, "mar");
    Person answers(windows, {kConsonant});
    QTest::keyClicks(calc.Data, "Y");
    ASSERT_TRUE(answers.Done());
    EXPECT_EQ(calc.Data->text(), "MARY");
    EXPECT_EQ(calc.CTotal->text(), "20 / 2");
    EXPECT_EQ(calc.Data->cursorPosition(), 4);
}

TEST_F(YDialog, TypedYInTheMiddleKeepsTheCaretAfterIt) {
    QTest::keyClicks(calc.Data, "MARK");
    calc.Data->setCursorPosition(2);
    Person answers(windows, {kVowel});
    QTest::keyClicks(calc.Data, "y");
    ASSERT_TRUE(answers.Done());
    EXPECT_EQ(answers.seen[0].dataBx, "MAY");
    EXPECT_EQ(calc.Data->text(), "MAyRK");
    EXPECT_EQ(calc.Data->cursorPosition(), 3);
}

}  // namespace
}  // namespace quillon
