#include "app/Y.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "QtPrint.h"

#include "app/Windows.h"

namespace quillon {
namespace {

// The answers, and SpaceAndEnter: a space, Return and Enter typed on into the open dialog, which
// must stay open.
enum class Answer { Vowel, Consonant, Escape, KeyV, KeyC, SpaceAndEnter };

// Answers the modal Y dialog once per entry, each time it waits for an answer, and notes what it
// showed at that moment.
class YAnswers {
public:
    struct Seen {
        QString dataLb;
        QString dataBx;
        int position;
        QString data;  // the analysis window's data field meanwhile
    };

    YAnswers(Windows& windows, std::vector<Answer> answers) : windows_(windows), answers_(std::move(answers)) {
        waiting_.start();
        Schedule();
    }

    std::vector<Seen> seen;
    bool stayedOpen = true;
    bool Done() const { return next_ == answers_.size(); }

private:
    void Schedule() {
        QTimer::singleShot(1, &context_, [this] { Step(); });
    }

    void Step() {
        TYFrm& dialog = windows_.YFrm;
        if (!dialog.isVisible()) {
            // Waits for the dialog for a while, then gives up so that a test without it ends.
            if (waiting_.elapsed() < 3000) Schedule();
            return;
        }
        seen.push_back({dialog.DataLb->text(), dialog.DataBx->text(), dialog.Position(),
                        windows_.CalcFrm.Data->text()});
        // Keys typed on go to the dialog's focused control (its first button when it has none yet).
        QWidget* focused = dialog.focusWidget() ? dialog.focusWidget() : dialog.YesBtn;
        switch (answers_[next_++]) {
            case Answer::Vowel: dialog.YesBtn->click(); break;
            case Answer::Consonant: dialog.NoBtn->click(); break;
            case Answer::Escape: QTest::keyClick(&dialog, Qt::Key_Escape); break;
            case Answer::KeyV: QTest::keyClick(focused, Qt::Key_V); break;
            case Answer::KeyC: QTest::keyClick(focused, Qt::Key_C); break;
            case Answer::SpaceAndEnter:
                for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(focused, key);
                stayedOpen = stayedOpen && dialog.isVisible();
                break;
        }
        waiting_.restart();
        if (next_ < answers_.size()) Schedule();
    }

    Windows& windows_;
    std::vector<Answer> answers_;
    std::size_t next_ = 0;
    QElapsedTimer waiting_;
    QObject context_;  // ends the pending step with this object
};

class YDialog : public ::testing::Test {
protected:
    void SetUp() override {
        calc.show();
        calc.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&calc));
        calc.Data->setFocus();
    }

    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        calc.PasteBtnClick();
    }

    Windows windows;
    TCalcFrm& calc = windows.CalcFrm;
    TYFrm& dialog = windows.YFrm;
};

TEST_F(YDialog, LooksAsDesigned) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Y Character"));
    EXPECT_EQ(dialog.size(), QSize(384, 205));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(dialog.DataBx->geometry(), QRect(19, 35, 350, 24));
    EXPECT_EQ(dialog.YesBtn->geometry(), QRect(55, 163, 100, 25));
    EXPECT_EQ(dialog.NoBtn->geometry(), QRect(221, 163, 100, 25));
    EXPECT_EQ(dialog.YesBtn->text(), QStringLiteral("&Vowel"));
    EXPECT_EQ(dialog.NoBtn->text(), QStringLiteral("&Consonant"));
    EXPECT_EQ(dialog.Question->text(), QStringLiteral("Do you want this \"Y\" to be interpreted as a vowel?"));
    EXPECT_TRUE(dialog.YPasteBtn->isHidden());
}

TEST_F(YDialog, PasteModeWalksEveryYLeftToRight) {
    YAnswers answers(windows, {Answer::Vowel, Answer::Consonant, Answer::Vowel});
    Paste(QStringLiteral("YVY Y"));
    ASSERT_TRUE(answers.Done());
    ASSERT_EQ(answers.seen.size(), 3u);
    EXPECT_EQ(answers.seen[0].position, 1);
    EXPECT_EQ(answers.seen[0].dataBx, QStringLiteral("Y"));
    EXPECT_EQ(answers.seen[1].position, 3);
    EXPECT_EQ(answers.seen[1].dataBx, QStringLiteral("yVY"));
    EXPECT_EQ(answers.seen[2].position, 5);
    EXPECT_EQ(answers.seen[2].dataBx, QStringLiteral("yVY Y"));
    for (const auto& seen : answers.seen) {
        EXPECT_EQ(seen.dataLb, QStringLiteral("YVY Y")) << "the label always shows the whole data in capitals";
        EXPECT_EQ(seen.data, QStringLiteral("YVY Y")) << "the data arrives in one piece at the end";
    }
    EXPECT_EQ(calc.Data->text(), QStringLiteral("yVY y"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(calc.State().PendingYPosition, 0);
    EXPECT_EQ(calc.VTotal->text(), QStringLiteral("14 / 5"));
    EXPECT_EQ(calc.CTotal->text(), QStringLiteral("11 / 2"));
}

TEST_F(YDialog, PasteModeWithThreeYsAndEscape) {
    YAnswers answers(windows, {Answer::Escape, Answer::Vowel, Answer::Escape});
    Paste(QStringLiteral("  yes you yak "));
    ASSERT_TRUE(answers.Done());
    ASSERT_EQ(answers.seen.size(), 3u);
    EXPECT_EQ(answers.seen[0].dataBx, QStringLiteral("Y"));
    EXPECT_EQ(answers.seen[1].dataBx, QStringLiteral("YES Y"));
    EXPECT_EQ(answers.seen[2].dataBx, QStringLiteral("YES yOU Y"));
    EXPECT_EQ(calc.Data->text(), QStringLiteral("YES yOU YAK"));
}

TEST_F(YDialog, PasteWithoutYAsksNothing) {
    YAnswers none(windows, {Answer::Vowel});
    Paste(QStringLiteral("john"));
    QApplication::processEvents();
    EXPECT_TRUE(none.seen.empty());
    EXPECT_EQ(calc.Data->text(), QStringLiteral("JOHN"));
}

TEST_F(YDialog, TypedVowelEndToEnd) {
    QTest::keyClicks(calc.Data, QStringLiteral("mar"));
    EXPECT_EQ(calc.Total->text(), QStringLiteral("14 / 5"));
    YAnswers answers(windows, {Answer::Vowel});
    QTest::keyClicks(calc.Data, QStringLiteral("y"));
    ASSERT_TRUE(answers.Done());
    EXPECT_EQ(answers.seen[0].dataBx, QStringLiteral("MARY"));
    EXPECT_EQ(answers.seen[0].position, 4);
    EXPECT_EQ(calc.Data->text(), QStringLiteral("MARy"));
    EXPECT_EQ(calc.VTotal->text(), QStringLiteral("8"));
    EXPECT_EQ(calc.CTotal->text(), QStringLiteral("13 / 4"));
    EXPECT_EQ(calc.Total->text(), QStringLiteral("21 / 3"));
    EXPECT_EQ(calc.Data->cursorPosition(), 4);
    EXPECT_FALSE(calc.State().YFromTyping);
    EXPECT_EQ(calc.State().PendingYPosition, 0);
}

TEST_F(YDialog, ASpaceOrEnterTypedOnDoesNotAnswer) {
    // "mary ann" at normal speed: the space after the Y reaches the dialog, which must not take it
    // for an answer.
    QTest::keyClicks(calc.Data, QStringLiteral("mar"));
    YAnswers answers(windows, {Answer::SpaceAndEnter, Answer::KeyC});
    QTest::keyClicks(calc.Data, QStringLiteral("y"));
    ASSERT_TRUE(answers.Done());
    EXPECT_TRUE(answers.stayedOpen) << "space and Enter leave the question open";
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(calc.Data->text(), QStringLiteral("MARY")) << "C answered Consonant";

    YAnswers vowel(windows, {Answer::KeyV});
    QTest::keyClicks(calc.Data, QStringLiteral("y"));
    ASSERT_TRUE(vowel.Done());
    EXPECT_EQ(calc.Data->text(), QStringLiteral("MARYy")) << "V answered Vowel";
}

TEST_F(YDialog, TypedConsonantKeepsTheText) {
    QTest::keyClicks(calc.Data, QStringLiteral("mar"));
    YAnswers answers(windows, {Answer::Consonant});
    QTest::keyClicks(calc.Data, QStringLiteral("Y"));
    ASSERT_TRUE(answers.Done());
    EXPECT_EQ(calc.Data->text(), QStringLiteral("MARY"));
    EXPECT_EQ(calc.CTotal->text(), QStringLiteral("20 / 2"));
    EXPECT_EQ(calc.Data->cursorPosition(), 4);
}

TEST_F(YDialog, TypedYInTheMiddleKeepsTheCaretAfterIt) {
    QTest::keyClicks(calc.Data, QStringLiteral("MARK"));
    calc.Data->setCursorPosition(2);
    YAnswers answers(windows, {Answer::Vowel});
    QTest::keyClicks(calc.Data, QStringLiteral("y"));
    ASSERT_TRUE(answers.Done());
    EXPECT_EQ(answers.seen[0].dataBx, QStringLiteral("MAY"));
    EXPECT_EQ(calc.Data->text(), QStringLiteral("MAyRK"));
    EXPECT_EQ(calc.Data->cursorPosition(), 3);
}

TEST_F(YDialog, TheCloseRequestIsRefused) {
    YAnswers answers(windows, {Answer::Consonant});
    QTimer::singleShot(0, [this] {
        dialog.close();
        EXPECT_TRUE(dialog.isVisible()) << "only Vowel and Consonant close the dialog";
    });
    Paste(QStringLiteral("Y"));
    EXPECT_TRUE(answers.Done());
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace quillon
