#include "windows/links/Inet.h"

#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/QtPrint.h"

#include "windows/analysis/Windows.h"
#include "platform/ShellServices.h"
#include "support/RecordingShell.h"

namespace quillon {
namespace {

const QColor kNavy{0, 0, 128};
const QColor kMaroon{128, 0, 0};
const QColor kRed{255, 0, 0};

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
        link->SetCaption(QStringLiteral("Tallowick Recipe Box"));
        link->SetURL(QStringLiteral("https://www.farbrook-software.example/tallowick/"));
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
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("https://www.farbrook-software.example/tallowick/")});
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

// The label is just wide enough for its text: nothing cut off, no more than a pixel or two spare.
void ExpectFittedWidth(const TOvcURL& link) {
    const int textWidth = link.fontMetrics().horizontalAdvance(link.text());
    EXPECT_GE(link.width(), textWidth);
    EXPECT_LE(link.width(), textWidth + 2);
}

TEST_F(HyperlinkLabel, CaptionFallsBackToTheAddressAndSetsTheWidth) {
    EXPECT_EQ(link->text(), QStringLiteral("Tallowick Recipe Box"));
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
    const QString smiley = QStringLiteral("\U0001F600");  // two UTF-16 units
    struct Row {
        const char* name;
        QString url;
        QString handedOver;
    };
    const Row rows[] = {
        {"opened", QStringLiteral("https://a.example/"), QStringLiteral("https://a.example/")},
        {"exactly 1023", a1023, a1023},
        {"cut at 1023", a1023 + QStringLiteral("bcd"), a1023},
        {"cut before a split pair", QString(1022, QLatin1Char('a')) + smiley, QString(1022, QLatin1Char('a'))},
        {"pair kept whole", QString(1021, QLatin1Char('a')) + smiley + QStringLiteral("z"),
         QString(1021, QLatin1Char('a')) + smiley},
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
    gone->SetURL(QStringLiteral("https://a.example/"));
    gone->Click();
    delete gone;
    shell.waiting[2](false);
    EXPECT_EQ(shell.beeps, 1);
}

// The desktop's "open" is xdg-open; what it tells by its exit status decides, as a stand-in shows.
TEST(DesktopShell, AnAddressOpensOnlyWhenXdgOpenSaysSo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Row {
        const char* name;
        const char* script;  // empty: no such program
        bool opened;
    };
    const Row rows[] = {
        {"opened", "echo \"$1\" > \"$0.address\"", true},
        {"no method available", "echo 'xdg-open: no method available' >&2; exit 3", false},
        {"killed", "kill -9 $$", false},
        {"missing", "", false},
        {"still running with the browser", "exec sleep 0.6", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString program = folder.filePath(QString::fromLatin1(row.name).replace(QLatin1Char(' '), '-'));
        if (*row.script) {
            QFile file(program);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("#!/bin/sh\n") + row.script + "\n");
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        DesktopShellServices shell(program, 300);
        std::optional<bool> opened;
        shell.Open(QStringLiteral("www.a.example/x y"), [&opened](bool answer) { opened = answer; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened.has_value(); }, 5000));
        EXPECT_EQ(*opened, row.opened);
        QTest::qWait(400);  // the wait ending later answers nothing a second time
        EXPECT_EQ(*opened, row.opened);
    }
    QFile address(folder.filePath(QStringLiteral("opened.address")));
    ASSERT_TRUE(address.open(QIODevice::ReadOnly));
    EXPECT_EQ(address.readAll(), QByteArray("http://www.a.example/x%20y\n"));
}

// Whether an address lies under a domain reserved for examples.
bool UnderExampleDomain(const QString& address) {
    const QString host = QUrl(address).host();
    if (host.endsWith(QLatin1String(".example"))) return true;
    for (const char* domain : {"example.com", "example.org", "example.net"}) {
        const QString name = QString::fromLatin1(domain);
        if (host == name || host.endsWith(QLatin1Char('.') + name)) return true;
    }
    return false;
}

TEST(LinksWindow, ControlsStandAtTheirPlacesInTheirOrderAndFonts) {
    TInternetFrm window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillon"));
    EXPECT_EQ(window.size(), QSize(346, 406));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(window.font().pixelSize(), 13);
    EXPECT_TRUE(window.font().bold());

    EXPECT_EQ(window.Panel3->geometry(), QRect(0, 0, 346, 41));
    EXPECT_EQ(window.Panel3->text(), QStringLiteral("Internet Resources"));
    EXPECT_EQ(window.Panel3->font().pixelSize(), 19);
    EXPECT_FALSE(window.Panel3->font().bold());
    EXPECT_EQ(window.Panel4->geometry(), QRect(13, 47, 323, 312));
    EXPECT_EQ(window.Panel4->palette().color(QPalette::Window), QColor(Qt::white));

    EXPECT_EQ(window.Label6->pos(), QPoint(32, 4));
    EXPECT_EQ(window.Label6->text(), QStringLiteral("Farbrook Software"));
    EXPECT_EQ(window.Label5->pos(), QPoint(32, 165));
    EXPECT_EQ(window.Label5->text(), QStringLiteral("Other Sites"));
    for (QLabel* heading : {window.Label6, window.Label5}) EXPECT_EQ(heading->font(), window.font());
    EXPECT_EQ(window.Label4->geometry(), QRect(23, 252, 283, 30));
    EXPECT_TRUE(window.Label4->wordWrap());
    EXPECT_EQ(window.Label4->font().pixelSize(), 11);
    EXPECT_TRUE(window.Label4->font().bold());
    EXPECT_EQ(window.Label4->text(), QStringLiteral("If you would like to help support our programming efforts, "
                                                   "please consider making a donation."));

    EXPECT_EQ(window.Button1->geometry(), QRect(134, 368, 75, 25));
    EXPECT_EQ(window.Button1->text(), QStringLiteral("Close"));
    EXPECT_EQ(window.Button1->font().pixelSize(), 13);
    EXPECT_TRUE(window.Button1->font().bold());

    const QPoint places[] = {{57, 23}, {56, 46},  {56, 70},  {57, 94},  {56, 118},
                             {56, 142}, {54, 185}, {56, 207}, {55, 229}, {56, 286}};
    for (std::size_t i = 0; i < kWebLinks.size(); ++i) {
        TOvcURL* link = window.OvcURL[i];
        SCOPED_TRACE(link->objectName().toStdString());
        EXPECT_EQ(link->objectName(), QStringLiteral("OvcURL%1").arg(i + 1));
        EXPECT_EQ(link->parentWidget(), window.Panel4);
        EXPECT_EQ(link->pos(), places[i]);
        EXPECT_EQ(link->height(), 13);
        ExpectFittedWidth(*link);
        EXPECT_EQ(link->Caption().toStdString(), kWebLinks[i].caption);
        EXPECT_EQ(link->URL().toStdString(), kWebLinks[i].url);
        EXPECT_TRUE(UnderExampleDomain(link->URL()));
        EXPECT_EQ(link->font().pixelSize(), 11);
        EXPECT_TRUE(link->font().bold());
        EXPECT_TRUE(link->UnderlineURL());
        EXPECT_EQ(link->FontColor(), kNavy);
        EXPECT_EQ(link->HighlightColor(), kRed);
        EXPECT_TRUE(link->UseVisitedColor());
        EXPECT_EQ(link->VisitedColor(), kMaroon);
        // Every link stays inside the white panel's bevel.
        EXPECT_LE(link->geometry().right(), window.Panel4->width() - 6);
    }

    // The panel holds each heading before its links, from top to bottom.
    QStringList order;
    for (QObject* child : window.Panel4->children()) {
        if (child->isWidgetType()) order << child->objectName();
    }
    EXPECT_EQ(order, QStringList({"Label6", "OvcURL1", "OvcURL2", "OvcURL3", "OvcURL4", "OvcURL5", "OvcURL6",
                                  "Label5", "OvcURL7", "OvcURL8", "OvcURL9", "Label4", "OvcURL10"}));
}

// Runs the dialog modally and ends it with the given action once it shows; returns whether it
// ended.
bool ExecAndEnd(TInternetFrm& window, const std::function<void()>& end) {
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        shown = window.isVisible() && window.isModal();
        end();
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &window, &QDialog::accept);  // never hang a test
    watchdog.start(5000);
    window.exec();
    const bool endedByAction = watchdog.isActive();
    return shown && endedByAction && !window.isVisible();
}

TEST(LinksWindow, OpensAtTheSamePlaceEachTime) {
    Windows windows;
    TInternetFrm& window = windows.InternetFrm;
    std::vector<QRect> places;
    for (int showing = 0; showing < 3; ++showing) {
        EXPECT_TRUE(ExecAndEnd(window, [&] {
            // Under a window manager the window lands a moment after it was shown.
            QTest::qWait(200);
            places.push_back(window.geometry());
            QTest::keyClick(&window, Qt::Key_Escape);
        }));
    }
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[1], places[0]);
    EXPECT_EQ(places[2], places[0]);
}

TEST(LinksWindow, EscapeAndCloseEndTheDialogAndVisitedLinksStayVisited) {
    Windows windows;
    TInternetFrm& window = windows.InternetFrm;
    EXPECT_TRUE(ExecAndEnd(window, [&] { QTest::keyClick(&window, Qt::Key_Escape); }));

    RecordingShell shell;
    EXPECT_TRUE(ExecAndEnd(window, [&] {
        QTest::mouseClick(window.OvcURL[3], Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        window.Button1->click();
    }));
    EXPECT_EQ(shell.opened, QStringList{QString::fromUtf8(kWebLinks[3].url)});

    // The same window comes back, with the link still visited; the Internet button shows it.
    bool visitedOnReturn = false;
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        shown = window.isVisible();
        visitedOnReturn = window.OvcURL[3]->FontColor() == kMaroon && window.OvcURL[2]->FontColor() == kNavy;
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    windows.CalcFrm.InternetBtn->click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(visitedOnReturn);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace quillon
