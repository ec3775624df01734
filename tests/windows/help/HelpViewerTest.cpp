// The viewer window on the built help file and the viewer control.

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextStream>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "support/HelpTestSupport.h"
#include "support/RecordingMessages.h"
#include "support/RecordingShell.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

const QString kProgram = QUILLON_PROGRAM;
const QString kBuiltHelpFile = QUILLON_HELP_FILE;

class Viewer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        auto file = ChmFile::Open(library, kBuiltHelpFile.toStdString());
        ASSERT_NE(file, nullptr);
        window = std::make_unique<HelpViewerWindow>(std::move(file));
        window->ShowPage({});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QTreeWidgetItem* ContentsItem(const QString& title) const {
        const auto items = window->Contents->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
        return items.isEmpty() ? nullptr : items.front();
    }

    ChmLibrary library;
    std::unique_ptr<HelpViewerWindow> window;
    RecordingMessages messages;
};

TEST_F(Viewer, OpensAtTheStartPageWithContentsAndIndex) {
    EXPECT_EQ(window->windowTitle(), "Quillon Help");
    EXPECT_EQ(window->CurrentPage(), "/html/quillon.htm");
    EXPECT_EQ(window->Contents->topLevelItemCount(), 8);
    ASSERT_NE(ContentsItem("The Y question"), nullptr);
    EXPECT_EQ(ContentsItem("The Y question")->parent(), ContentsItem("Quillon"));
    EXPECT_EQ(window->Contents->currentItem(), ContentsItem("Quillon"));
    EXPECT_GT(window->Index->count(), 40);
    EXPECT_FALSE(window->BackBtn->isEnabled());
    EXPECT_FALSE(window->ForwardBtn->isEnabled());
}

TEST_F(Viewer, LinksContentsBackForwardAndHome) {
    emit window->Browser->anchorClicked(QUrl("letters.htm"));
    EXPECT_EQ(window->CurrentPage(), "/html/letters.htm");
    EXPECT_EQ(window->Contents->currentItem(), ContentsItem("The letter systems"));

    QTreeWidgetItem* chart = ContentsItem("The digit chart");
    window->Contents->scrollToItem(chart);
    QTest::mouseClick(window->Contents->viewport(), Qt::LeftButton, {},
                      window->Contents->visualItemRect(chart).center());
    EXPECT_EQ(window->CurrentPage(), "/html/chart.htm");

    window->BackBtn->click();
    EXPECT_EQ(window->CurrentPage(), "/html/letters.htm");
    EXPECT_EQ(window->BackBtn->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
    window->BackBtn->click();
    EXPECT_EQ(window->CurrentPage(), "/html/quillon.htm");
    EXPECT_FALSE(window->BackBtn->isEnabled());
    window->ForwardBtn->click();
    EXPECT_EQ(window->CurrentPage(), "/html/letters.htm");
    window->HomeBtn->click();
    EXPECT_EQ(window->CurrentPage(), "/html/quillon.htm");
}

TEST_F(Viewer, TheIndexFindsAKeywordAsItIsTyped) {
    QTest::keyClicks(window->IndexFilter, "rtf");
    ASSERT_NE(window->Index->currentItem(), nullptr);
    EXPECT_EQ(window->Index->currentItem()->text(), "RTF file");
    QTest::keyClick(window->IndexFilter, Qt::Key_Return);
    EXPECT_EQ(window->CurrentPage(), "/html/print.htm");
}

TEST_F(Viewer, PicturesStyleSheetsAndMissingPagesComeFromTheHelpFile) {
    window->ShowPage("html\\quil5n02.htm");
    EXPECT_EQ(window->CurrentPage(), "/html/quil5n02.htm");
    const QImage picture =
        window->Browser->loadResource(QTextDocument::ImageResource, QUrl("../images/help.png")).value<QImage>();
    EXPECT_EQ(picture.size(), QSize(16, 16));
    const QByteArray css =
        window->Browser->loadResource(QTextDocument::StyleSheetResource, QUrl("../quillon.css")).toByteArray();
    EXPECT_TRUE(css.contains("h1")) << css.constData();
    EXPECT_FALSE(window->Browser->loadResource(QTextDocument::ImageResource, QUrl("none.png")).isValid());

    window->ShowPage("/html/none.htm");
    EXPECT_TRUE(window->Browser->toPlainText().contains("This page is not in the help file: /html/none.htm"));
}

// A link to a page of the help file is shown in the viewer; of the other addresses only web pages
// and mail addresses go to the desktop, every other one beeps.
TEST_F(Viewer, OnlyWebPagesAndMailAddressesLeaveTheViewer) {
    struct Case {
        const char* link;
        std::string page;    // the page shown after it
        std::string opened;  // the address handed to the desktop
        int beeps;
    };
    const std::string start = "/html/quillon.htm";
    const Case cases[] = {
        {"letters.htm", "/html/letters.htm", "", 0},
        {"../../../../etc/passwd", "/etc/passwd", "", 0},
        {"//host.example/html/chart.htm", "/html/chart.htm", "", 0},
        {"http://www.example.com/a b", start, "http://www.example.com/a%20b", 0},
        {"HTTPS://Example.com/", start, "https://example.com/", 0},
        {"MailTo:info@example.com?Subject=Quillon&body=Hello", start,
         "mailto:info@example.com?Subject=Quillon&body=Hello", 0},
        {"mailto:info@example.com?attach=/home/user/.ssh/id_rsa", start, "", 1},
        {"mailto:info@example.com?subject=x&%61ttach=/etc/passwd", start, "", 1},
        {"file:///etc/passwd", start, "", 1},
        {"FILE:///usr/bin/xterm", start, "", 1},
        {"javascript:alert(1)", start, "", 1},
        {"ftp://ftp.example.com/x", start, "", 1},
        {"smb://server/share", start, "", 1},
        {"data:text/html,<b>x</b>", start, "", 1},
        {"ms-its:other.chm::/a.htm", start, "", 1},
        {"http:///etc/passwd", start, "", 1},
        {"https:no-host", start, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        window->ShowPage({});
        const RecordingShell shell;
        emit window->Browser->anchorClicked(QUrl(QString::fromUtf8(c.link)));
        EXPECT_EQ(window->CurrentPage().toStdString(), c.page);
        EXPECT_EQ(shell.opened.join(QLatin1Char(' ')).toStdString(), c.opened);
        EXPECT_EQ(shell.beeps, c.beeps);
    }
    // A relative link on a page without an address of the help file resolves to nothing to open.
    EXPECT_FALSE(IsOpenableOutsideAddress(QUrl("letters.htm")));
    const RecordingShell refusing(false);
    emit window->Browser->anchorClicked(QUrl("https://example.com/"));
    EXPECT_EQ(refusing.beeps, 1) << "an address the desktop cannot open beeps";
}

// A planted help file's page: clicking its link to a local file beeps and opens nothing.
TEST(ViewerLinks, AClickOnAFileLinkOfAPageBeeps) {
    const test::TempFolder folder;
    ASSERT_TRUE(
        test::CompileHelpFile(folder.Path(), {{"html/start.htm",
                                               "<html><body><p><a href=\"file:///etc/passwd\">local file</a></p>"
                                               "<p><a href=\"https://example.com/\">web page</a></p></body></html>"}}));
    const ChmLibrary library;
    ASSERT_TRUE(library.Loaded());
    HelpViewerWindow window(ChmFile::Open(library, (folder / "quill.chm").string()));
    window.ShowPage({});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto click = [&window](const QString& text) {
        const QTextBlock block = window.Browser->document()->find(text).block();
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + 2);
        QTest::mouseClick(window.Browser->viewport(), Qt::LeftButton, {}, window.Browser->cursorRect(cursor).center());
    };
    const RecordingShell shell;
    click("local file");
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(shell.opened.join(QLatin1Char(' ')).toStdString(), "");
    click("web page");
    EXPECT_EQ(shell.beeps, 1);
    EXPECT_EQ(shell.opened.join(QLatin1Char(' ')).toStdString(), "https://example.com/");
    EXPECT_EQ(window.CurrentPage().toStdString(), "/html/start.htm");
}

TEST(ViewerControl, ShowsTopicsReusesItsWindowAndClosesAll) {
    RecordingMessages messages;
    const ChmLibrary library;
    HelpViewers viewers(library);
    const std::string file = kBuiltHelpFile.toStdString();
    EXPECT_TRUE(viewers.HtmlHelp(file + "::/html/quil3x2q.htm", HtmlHelpCommand::DisplayTopic, 0));
    ASSERT_EQ(viewers.Windows().size(), 1u);
    HelpViewerWindow* window = viewers.Windows().front();
    EXPECT_EQ(window->CurrentPage(), "/html/quil3x2q.htm");
    EXPECT_TRUE(window->isVisible());
    // The help file maps no context numbers: a context shows the start page.
    EXPECT_TRUE(viewers.HtmlHelp("mk:@MSITStore:" + file, HtmlHelpCommand::HelpContext, 1000));
    EXPECT_EQ(viewers.Windows().size(), 1u);
    EXPECT_EQ(window->CurrentPage(), "/html/quillon.htm");

    EXPECT_FALSE(viewers.HtmlHelp("/nowhere/quill.chm", HtmlHelpCommand::DisplayTopic, 0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Cannot open the help file \"/nowhere/quill.chm\".");
    EXPECT_FALSE(viewers.HtmlHelp({}, HtmlHelpCommand::CloseAll, 0));
    EXPECT_TRUE(viewers.Windows().empty());
}

}  // namespace
}  // namespace quillon
