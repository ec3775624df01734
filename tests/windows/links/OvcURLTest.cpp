// The hyperlink label of the links window (TOvcURL in Inet.h): its colours while hovered, clicked
// and visited, what it hands the desktop, and how it appears to a screen reader.

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

#include "support/AccessibilityFixture.h"
#include "support/LinkLabels.h"
#include "support/QtPrint.h"
#include "support/RecordingShell.h"
#include "windows/links/Inet.h"

namespace quillon {
namespace {

using test::Accessibility;
using test::Contains;
using test::ExpectFittedWidth;
using test::kMaroon;
using test::kNavy;
using test::kRed;
using test::ShowAndActivate;
using test::TabRound;

// Counts the timer events a widget receives.
class TickCounter final : public QObject {
public:
    int ticks = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) ++ticks;
        return false;
    }
};

// A navy link with a maroon visited colour, as the links window makes them, on a shown window.
class HyperlinkLabel : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(300, 100);
        link = new TOvcURL(&host);
        link->SetFontColor(kNavy);
        link->SetVisitedColor(kMaroon);
        link->SetUseVisitedColor(true);
        link->SetCaption("Tallowick Recipe Box");
        link->SetURL("https://www.farbrook-software.example/tallowick/");
        link->move(40, 30);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        QObject::connect(link, &TOvcURL::Clicked, &host, [this] { ++clicks; });
    }

    // The mouse arrives at a point of the label: the cursor stands there and the label gets the move.
    void HoverAt(QPoint local = {5, 5}) {
        QCursor::setPos(link->mapToGlobal(local));
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(link->mapToGlobal(local)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(link, &move);
    }

    // The cursor goes elsewhere; the label gets no event for it and has to notice on a tick.
    void Leave() { QCursor::setPos(host.mapToGlobal(QPoint(280, 90))); }

    // Waits until the hover timer has gone; true if it went.
    bool WaitForTimerToEnd() {
        return QTest::qWaitFor([this] { return !link->HoverTimerActive(); }, 5000);
    }

    void ClickLink() { QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); }

    QWidget host;
    TOvcURL* link = nullptr;
    int clicks = 0;
};

TEST_F(HyperlinkLabel, HighlightedWhileInsideAndRestoredOnTheFirstTickOutside) {
    EXPECT_FALSE(link->HoverTimerActive());
    HoverAt();
    EXPECT_EQ(link->FontColor(), kRed);
    EXPECT_TRUE(link->HoverTimerActive());

    // Ticks while the cursor stays inside change nothing, and further moves start no second timer.
    TickCounter counter;
    link->installEventFilter(&counter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.ticks >= 3; }, 5000));
    HoverAt({8, 6});
    EXPECT_EQ(link->FontColor(), kRed);
    EXPECT_TRUE(link->HoverTimerActive());

    counter.ticks = 0;
    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());
    EXPECT_EQ(counter.ticks, 1) << "the colour comes back on the first tick after leaving";
    EXPECT_EQ(link->FontColor(), kNavy);
    EXPECT_TRUE(link->findChildren<QTimer*>().isEmpty());

    // No tick arrives once the timer is gone.
    counter.ticks = 0;
    QTest::qWait(3 * TOvcURL::kHoverTickMs);
    EXPECT_EQ(counter.ticks, 0);
    link->removeEventFilter(&counter);
}

TEST_F(HyperlinkLabel, ClickOpensTheAddressThenFiresThenTurnsVisited) {
    RecordingShell shell;
    QColor colourAtClickEvent;
    QStringList openedAtClickEvent;
    QObject::connect(link, &TOvcURL::Clicked, &host, [&] {
        colourAtClickEvent = link->FontColor();
        openedAtClickEvent = shell.opened;
    });
    HoverAt();
    ClickLink();
    EXPECT_EQ(shell.opened, QStringList{"https://www.farbrook-software.example/tallowick/"});
    EXPECT_EQ(openedAtClickEvent, shell.opened) << "the address is handed over before the click event";
    EXPECT_EQ(colourAtClickEvent, kRed);
    EXPECT_EQ(shell.beeps, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(link->FontColor(), kRed) << "highlighted while the mouse is still over it";

    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());
    EXPECT_EQ(link->FontColor(), kMaroon);

    // Visited stays across hiding and showing and across another visit of the mouse.
    host.hide();
    host.show();
    EXPECT_EQ(link->FontColor(), kMaroon);
    HoverAt();
    EXPECT_EQ(link->FontColor(), kRed);
    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());
    EXPECT_EQ(link->FontColor(), kMaroon);
}

TEST_F(HyperlinkLabel, WithoutTheVisitedColourAClickLeavesTheRestingColour) {
    RecordingShell shell;
    link->SetUseVisitedColor(false);
    HoverAt();
    ClickLink();
    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());
    EXPECT_EQ(link->FontColor(), kNavy);
    EXPECT_EQ(clicks, 1);
}

TEST_F(HyperlinkLabel, AClickNeedsPressAndReleaseOnTheLabel) {
    RecordingShell shell;
    QTest::mousePress(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 200));
    QTest::mouseRelease(link, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseClick(link, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_EQ(clicks, 0);
}

TEST_F(HyperlinkLabel, EmptyAddressOnlyFiresTheClickAndTurnsVisited) {
    RecordingShell shell;
    link->SetURL({});
    ClickLink();
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_EQ(shell.beeps, 0);
    EXPECT_EQ(clicks, 1);
    // The mouse was never over it, so it rests in the visited colour at once.
    EXPECT_EQ(link->FontColor(), kMaroon);
}

TEST_F(HyperlinkLabel, NoColourTakesTheFontColour) {
    const QColor green(0, 128, 0);
    link->SetFontColor(green);
    link->SetHighlightColor(TOvcURL::NoColor());
    link->SetVisitedColor(TOvcURL::NoColor());
    EXPECT_EQ(link->HighlightColor(), green);
    EXPECT_EQ(link->VisitedColor(), green);
    HoverAt();
    EXPECT_EQ(link->FontColor(), green);
    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());

    // The colour in force when it was set, not a later one.
    link->SetFontColor(kNavy);
    RecordingShell shell;
    ClickLink();
    EXPECT_EQ(link->FontColor(), green);
}

TEST_F(HyperlinkLabel, ChangingAColourForgetsTheSavedRestingColour) {
    HoverAt();
    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());
    link->SetFontColor(kMaroon);
    link->SetHighlightColor(QColor(0, 0, 255));
    HoverAt();
    EXPECT_EQ(link->FontColor(), QColor(0, 0, 255));
    Leave();
    ASSERT_TRUE(WaitForTimerToEnd());
    EXPECT_EQ(link->FontColor(), kMaroon) << "the resting colour is taken again from the font";
}

TEST_F(HyperlinkLabel, HidingWhileHoveredEndsTheHover) {
    HoverAt();
    host.hide();
    EXPECT_FALSE(link->HoverTimerActive());
    EXPECT_EQ(link->FontColor(), kNavy);
}

TEST_F(HyperlinkLabel, CaptionFallsBackToTheAddressAndSetsTheWidth) {
    EXPECT_EQ(link->text(), "Tallowick Recipe Box");
    link->SetCaption({});
    EXPECT_EQ(link->text(), link->URL());
    ExpectFittedWidth(*link);
    EXPECT_EQ(link->textFormat(), Qt::PlainText);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

    EXPECT_TRUE(link->UnderlineURL());
    link->SetUnderlineURL(false);
    EXPECT_FALSE(link->font().underline());
}

TEST_F(HyperlinkLabel, TheDesktopGetsAtMost1023Characters) {
    const QString a1023(1023, QLatin1Char('a'));
    const QString smiley = "\U0001F600";  // two UTF-16 units
    struct Row {
        const char* name;
        QString url;
        QString handedOver;
    };
    const Row rows[] = {
        {"opened", "https://a.example/", "https://a.example/"},
        {"exactly 1023", a1023, a1023},
        {"cut at 1023", a1023 + "bcd", a1023},
        {"cut before a split pair", QString(1022, QLatin1Char('a')) + smiley, QString(1022, QLatin1Char('a'))},
        {"pair kept whole", QString(1021, QLatin1Char('a')) + smiley + "z", QString(1021, QLatin1Char('a')) + smiley},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingShell shell;
        link->SetURL(row.url);
        const int clicksBefore = clicks;
        ClickLink();
        EXPECT_EQ(shell.opened, QStringList{row.handedOver});
        EXPECT_EQ(shell.beeps, 0);
        EXPECT_EQ(clicks, clicksBefore + 1);
        EXPECT_EQ(link->FontColor(), kMaroon);
    }
}

TEST_F(HyperlinkLabel, OnlyAnOpenedAddressMarksTheLinkVisitedAndAFailureBeeps) {
    RecordingShell shell;
    shell.deferred = true;
    ClickLink();
    ClickLink();
    EXPECT_EQ(clicks, 2) << "the click event does not wait for the desktop";
    ASSERT_EQ(shell.waiting.size(), 2u);
    EXPECT_EQ(link->FontColor(), kNavy);

    shell.waiting[0](false);
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_FALSE(link->Visited());
    EXPECT_EQ(link->FontColor(), kNavy);
    shell.waiting[1](true);
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_TRUE(link->Visited());
    EXPECT_EQ(link->FontColor(), kMaroon);

    // An answer for a label that is gone is dropped.
    auto* gone = new TOvcURL(&host);
    gone->SetURL("https://a.example/");
    gone->Click();
    delete gone;
    shell.waiting[2](false);
    EXPECT_EQ(shell.beeps, 1);
}

TEST_F(Accessibility, LinksAreLinksThatOpenByActionAndByKey) {
    ShowAndActivate(&windows.InternetFrm);
    TOvcURL* first = windows.InternetFrm.OvcURL[0];
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(first);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), first->Caption());
    EXPECT_EQ(link->text(QAccessible::Description), first->URL());
    EXPECT_FALSE(link->state().traversed);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(shell.opened, QStringList{first->URL()});
    EXPECT_TRUE(link->state().traversed) << "a clicked link is visited";

    // With the keyboard: Close has the focus when the window opens, Tab goes on to the first link
    // and from link to link, and Enter or Space opens the link that has the focus.
    EXPECT_EQ(QApplication::focusWidget(), windows.InternetFrm.Button1);
    QTest::keyClick(windows.InternetFrm.Button1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), first);
    QTest::keyClick(first, Qt::Key_Tab);
    TOvcURL* second = windows.InternetFrm.OvcURL[1];
    EXPECT_EQ(QApplication::focusWidget(), second);
    QTest::keyClick(second, Qt::Key_Return);
    QTest::keyClick(second, Qt::Key_Space);
    EXPECT_EQ(shell.opened, (QStringList{first->URL(), second->URL(), second->URL()}));
    const std::vector<QWidget*> round = TabRound(&windows.InternetFrm);
    for (TOvcURL* each : windows.InternetFrm.OvcURL)
        EXPECT_TRUE(Contains(round, each)) << each->Caption().toStdString();
    EXPECT_TRUE(Contains(round, windows.InternetFrm.Button1));
}

}  // namespace
}  // namespace quillon
