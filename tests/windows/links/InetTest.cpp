// The links window (TInternetFrm in Inet.h); its hyperlink labels are tested in OvcURLTest.cpp.

#include "windows/links/Inet.h"

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "support/LinkLabels.h"
#include "support/QtPrint.h"
#include "support/RecordingShell.h"
#include "windows/analysis/Windows.h"

namespace quillon {
namespace {

using test::ExpectFittedWidth;
using test::kMaroon;
using test::kNavy;
using test::kRed;

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
    EXPECT_EQ(window.windowTitle(), "Quillon");
    EXPECT_EQ(window.size(), QSize(346, 406));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
    EXPECT_FALSE(window.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(window.font().pixelSize(), 13);
    EXPECT_TRUE(window.font().bold());

    EXPECT_EQ(window.Panel3->geometry(), QRect(0, 0, 346, 41));
    EXPECT_EQ(window.Panel3->text(), "Internet Resources");
    EXPECT_EQ(window.Panel3->font().pixelSize(), 19);
    EXPECT_FALSE(window.Panel3->font().bold());
    EXPECT_EQ(window.Panel4->geometry(), QRect(13, 47, 323, 312));
    EXPECT_EQ(window.Panel4->palette().color(QPalette::Window), QColor(Qt::white));

    EXPECT_EQ(window.Label6->pos(), QPoint(32, 4));
    EXPECT_EQ(window.Label6->text(), "Farbrook Software");
    EXPECT_EQ(window.Label5->pos(), QPoint(32, 165));
    EXPECT_EQ(window.Label5->text(), "Other Sites");
    for (QLabel* heading : {window.Label6, window.Label5}) EXPECT_EQ(heading->font(), window.font());
    EXPECT_EQ(window.Label4->geometry(), QRect(23, 252, 283, 30));
    EXPECT_TRUE(window.Label4->wordWrap());
    EXPECT_EQ(window.Label4->font().pixelSize(), 11);
    EXPECT_TRUE(window.Label4->font().bold());
    EXPECT_EQ(window.Label4->text(),
              "If you would like to help support our programming efforts, "
              "please consider making a donation.");

    EXPECT_EQ(window.Button1->geometry(), QRect(134, 368, 75, 25));
    EXPECT_EQ(window.Button1->text(), "Close");
    EXPECT_EQ(window.Button1->font().pixelSize(), 13);
    EXPECT_TRUE(window.Button1->font().bold());

    const QPoint places[] = {{57, 23},  {56, 46},  {56, 70},  {57, 94},  {56, 118},
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
    EXPECT_EQ(order, QStringList({"Label6", "OvcURL1", "OvcURL2", "OvcURL3", "OvcURL4", "OvcURL5", "OvcURL6", "Label5",
                                  "OvcURL7", "OvcURL8", "OvcURL9", "Label4", "OvcURL10"}));
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
