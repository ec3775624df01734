#include "windows/analysis/Y.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

#include "numerology/Analysis.h"
#include "support/QtPrint.h"
#include "support/YQuestion.h"
#include "windows/analysis/Windows.h"

namespace quillon {
namespace {

using test::ExpectLabel;
using test::kAltC;
using test::kAltV;
using test::kConsonant;
using test::kEscape;
using test::kVowel;
using test::Person;
using test::Press;
using test::Step;
using test::Type;
using test::TypeIntoWindow;
using test::Wait;
using test::YDialog;

TEST_F(YDialog, LooksAsDesigned) {
    EXPECT_EQ(dialog.windowTitle(), "Y Character");
    EXPECT_EQ(dialog.size(), QSize(384, 205));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(dialog.DataBx->geometry(), QRect(19, 35, 350, 24));
    EXPECT_EQ(dialog.YesBtn->geometry(), QRect(55, 163, 100, 25));
    EXPECT_EQ(dialog.NoBtn->geometry(), QRect(221, 163, 100, 25));
    EXPECT_EQ(dialog.YesBtn->text(), "&Vowel");
    EXPECT_EQ(dialog.NoBtn->text(), "&Consonant");
    EXPECT_EQ(dialog.Question->text(), "Do you want this \"Y\" to be interpreted as a vowel?");
    EXPECT_TRUE(dialog.YPasteBtn->isHidden());
}

TEST_F(YDialog, PasteModeWalksEveryYLeftToRight) {
    Person answers(windows, {kVowel, kConsonant, kVowel});
    Paste("YVY Y");
    ASSERT_TRUE(answers.Done());
    ASSERT_EQ(answers.seen.size(), 3u);
    EXPECT_EQ(answers.seen[0].position, 1);
    EXPECT_EQ(answers.seen[0].dataBx, "Y");
    EXPECT_EQ(answers.seen[1].position, 3);
    EXPECT_EQ(answers.seen[1].dataBx, "yVY");
    EXPECT_EQ(answers.seen[2].position, 5);
    EXPECT_EQ(answers.seen[2].dataBx, "yVY Y");
    for (const auto& seen : answers.seen) {
        EXPECT_EQ(seen.dataLb, "YVY Y") << "the label always shows the whole data in capitals";
        EXPECT_EQ(seen.data, "YVY Y") << "the data arrives in one piece at the end";
    }
    EXPECT_EQ(calc.Data->text(), "yVY y");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(calc.State().PendingYPosition, 0);
    EXPECT_EQ(calc.VTotal->text(), "14 / 5");
    EXPECT_EQ(calc.CTotal->text(), "11 / 2");
}

TEST_F(YDialog, PasteModeWithThreeYsAndEscape) {
    Person answers(windows, {kEscape, kVowel, kEscape});
    Paste("  yes you yak ");
    ASSERT_TRUE(answers.Done());
    ASSERT_EQ(answers.seen.size(), 3u);
    EXPECT_EQ(answers.seen[0].dataBx, "Y");
    EXPECT_EQ(answers.seen[1].dataBx, "YES Y");
    EXPECT_EQ(answers.seen[2].dataBx, "YES yOU Y");
    EXPECT_EQ(calc.Data->text(), "YES yOU YAK");
}

TEST_F(YDialog, KeysTypedWhileTheQuestionIsUpAreTypedAfterTheAnswer) {
    // Typed at a person's pace, the keys after a Y arrive while the question is up. The question
    // is answered only on purpose; every other key is kept and typed into the data after the
    // answer, a Y among them asking again.
    struct Case {
        const char* name;
        const char* typedFirst;
        std::vector<Step> steps;
        const char* data;
        std::vector<const char*> labels;
    };
    const Case cases[] = {
        {"yvonne", "y", {Type("vonne"), kAltC, ExpectLabel(""), Wait(600), kAltC}, "YVONNE", {"YVONNE"}},
        {"mary carter", "mary", {Type(" carter"), ExpectLabel(""), Wait(600), kAltC}, "MARY CARTER", {"MARY CARTER"}},
        {"plain V and C are letters", "y", {Wait(600), Type("vc"), kAltV}, "yVC", {}},
        {"Tab then Space", "y", {Wait(600), Press(Qt::Key_Tab), Press(Qt::Key_Space)}, "y", {}},
        {"an arrow then Enter", "y", {Wait(600), Press(Qt::Key_Right), Press(Qt::Key_Return)}, "Y", {}},
        {"Space before a button is chosen is a blank", "y", {Type(" a"), Wait(600), kEscape}, "Y A", {}},
        {"Enter before a button is chosen is refused", "y", {Wait(600), Press(Qt::Key_Return), kAltV}, "y", {}},
        {"early Tab and Space wait for the delay",
         "y",
         {Press(Qt::Key_Tab), Press(Qt::Key_Space), Wait(500), Press(Qt::Key_Space)},
         "y",
         {}},
        {"Escape answers at once", "y", {kEscape}, "Y", {}},
        {"a Y typed ahead asks again", "y", {Type("ay"), Wait(600), kAltV, Wait(600), kAltC}, "yAY", {}},
        {"keys that reach the window before the dialog are kept, clicks refused",
         "y",
         {TypeIntoWindow("es"), Step{Step::ClickWindow}, ExpectLabel(""), Wait(600), kEscape},
         "YES",
         {"YES"}},
        {"the field's limit holds",
         "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaay",
         {Type("bc"), Wait(600), kEscape},
         "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAY",
         {}},
    };
    for (const Case& c : cases) {
        calc.ClearBtnClick();
        Person person(windows, c.steps);
        QTest::keyClicks(calc.Data, QString::fromLatin1(c.typedFirst));
        EXPECT_TRUE(person.Done()) << c.name;
        EXPECT_FALSE(person.leftOpen) << c.name;
        EXPECT_EQ(calc.Data->text(), QString::fromLatin1(c.data)) << c.name;
        EXPECT_EQ(calc.focusWidget(), calc.Data) << c.name << ": a refused click takes no keyboard";
        ASSERT_EQ(person.labels.size(), c.labels.size()) << c.name;
        for (std::size_t i = 0; i < c.labels.size(); ++i) EXPECT_EQ(person.labels[i], c.labels[i]) << c.name;
        // The totals are those of the data as the command line analyses it.
        AnalysisState state;
        const AnalysisShown shown = RunAnalysis(state, calc.Data->text().toStdU16String());
        EXPECT_EQ(calc.Total->text().toStdString(), shown.total) << c.name;
        EXPECT_EQ(calc.VTotal->text().toStdString(), shown.vTotal) << c.name;
    }
}

TEST_F(YDialog, AnEarlyKeyboardAnswerLeavesTheQuestionUp) {
    // Alt+V, Alt+C and Enter within half a second of the question are refused with a beep; the
    // question is still up for the last step, which comes just in time.
    Person person(windows, {kAltV, kAltC, Press(Qt::Key_Return), Wait(499), kAltV, ExpectLabel(""), Wait(1), kAltC});
    QTest::keyClicks(calc.Data, "y");
    ASSERT_TRUE(person.Done());
    EXPECT_EQ(person.labels.size(), 1u);
    EXPECT_EQ(calc.Data->text(), "Y");
}

TEST_F(YDialog, PasteModeTypesWhatWasTypedAheadAfterTheLastY) {
    Person person(windows, {Type("z"), ExpectLabel(""), kVowel, kConsonant});
    Paste("yy");
    ASSERT_TRUE(person.Done());
    ASSERT_EQ(person.labels.size(), 1u);
    EXPECT_EQ(person.labels[0], "YYZ");
    EXPECT_EQ(calc.Data->text(), "yYZ");
}

TEST_F(YDialog, OpensAtTheSamePlaceEachTime) {
    std::vector<QRect> places;
    for (int showing = 0; showing < 3; ++showing) {
        Person person(windows, {Step{Step::Settle}, kConsonant});
        Paste("Y");
        ASSERT_EQ(person.seen.size(), 1u);
        places.push_back(person.seen[0].place);
    }
    EXPECT_EQ(places[1], places[0]);
    EXPECT_EQ(places[2], places[0]);
}

TEST_F(YDialog, TheCloseRequestIsRefused) {
    Person answers(windows, {kConsonant});
    QTimer::singleShot(0, [this] {
        dialog.close();
        EXPECT_TRUE(dialog.isVisible()) << "only Vowel and Consonant close the dialog";
    });
    Paste("Y");
    EXPECT_TRUE(answers.Done());
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace quillon
