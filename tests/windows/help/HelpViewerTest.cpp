// The viewer window on the built help file and the viewer control.

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextStream>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "support/RecordingMessages.h"
#include "support/HelpTestSupport.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

const QString kProgram = QStringLiteral(QUILLON_PROGRAM);
const QString kBuiltHelpFile = QStringLiteral(QUILLON_HELP_FILE);

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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillon Help"));
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));
    EXPECT_EQ(window->Contents->topLevelItemCount(), 8);
    ASSERT_NE(ContentsItem(QStringLiteral("The Y question")), nullptr);
    EXPECT_EQ(ContentsItem(QStringLiteral("The Y question"))->parent(), ContentsItem(QStringLiteral("Quillon")));
    EXPECT_EQ(window->Contents->currentItem(), ContentsItem(QStringLiteral("Quillon")));
    EXPECT_GT(window->Index->count(), 40);
    EXPECT_FALSE(window->BackBtn->isEnabled());
    EXPECT_FALSE(window->ForwardBtn->isEnabled());
}

TEST_F(Viewer, LinksContentsBackForwardAndHome) {
    emit window->Browser->anchorClicked(QUrl(QStringLiteral("letters.htm")));
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/letters.htm"));
    EXPECT_EQ(window->Contents->currentItem(), ContentsItem(QStringLiteral("The letter systems")));

    QTreeWidgetItem* chart = ContentsItem(QStringLiteral("The digit chart"));
    window->Contents->scrollToItem(chart);
    QTest::mouseClick(window->Contents->viewport(), Qt::LeftButton, {},
                      window->Contents->visualItemRect(chart).center());
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/chart.htm"));

    window->BackBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/letters.htm"));
    EXPECT_EQ(window->BackBtn->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
    window->BackBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));
    EXPECT_FALSE(window->BackBtn->isEnabled());
    window->ForwardBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/letters.htm"));
    window->HomeBtn->click();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));
}

TEST_F(Viewer, TheIndexFindsAKeywordAsItIsTyped) {
    QTest::keyClicks(window->IndexFilter, QStringLiteral("rtf"));
    ASSERT_NE(window->Index->currentItem(), nullptr);
    EXPECT_EQ(window->Index->currentItem()->text(), QStringLiteral("RTF file"));
    QTest::keyClick(window->IndexFilter, Qt::Key_Return);
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/print.htm"));
}

TEST_F(Viewer, PicturesStyleSheetsAndMissingPagesComeFromTheHelpFile) {
    window->ShowPage(QStringLiteral("html\\quil5n02.htm"));
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quil5n02.htm"));
    const QImage picture =
        window->Browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("../images/help.png")))
            .value<QImage>();
    EXPECT_EQ(picture.size(), QSize(16, 16));
    const QByteArray css =
        window->Browser->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("../quillon.css")))
            .toByteArray();
    EXPECT_TRUE(css.contains("h1")) << css.constData();
    EXPECT_FALSE(
        window->Browser->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("none.png"))).isValid());

    window->ShowPage(QStringLiteral("/html/none.htm"));
    EXPECT_TRUE(
        window->Browser->toPlainText().contains(QStringLiteral("This page is not in the help file: /html/none.htm")));
}

TEST(ViewerControl, ShowsTopicsReusesItsWindowAndClosesAll) {
    RecordingMessages messages;
    const ChmLibrary library;
    HelpViewers viewers(library);
    const std::string file = kBuiltHelpFile.toStdString();
    EXPECT_TRUE(viewers.HtmlHelp(file + "::/html/quil3x2q.htm", HtmlHelpCommand::DisplayTopic, 0));
    ASSERT_EQ(viewers.Windows().size(), 1u);
    HelpViewerWindow* window = viewers.Windows().front();
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quil3x2q.htm"));
    EXPECT_TRUE(window->isVisible());
    // The help file maps no context numbers: a context shows the start page.
    EXPECT_TRUE(viewers.HtmlHelp("mk:@MSITStore:" + file, HtmlHelpCommand::HelpContext, 1000));
    EXPECT_EQ(viewers.Windows().size(), 1u);
    EXPECT_EQ(window->CurrentPage(), QStringLiteral("/html/quillon.htm"));

    EXPECT_FALSE(viewers.HtmlHelp("/nowhere/quill.chm", HtmlHelpCommand::DisplayTopic, 0));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Cannot open the help file \"/nowhere/quill.chm\".");
    EXPECT_FALSE(viewers.HtmlHelp({}, HtmlHelpCommand::CloseAll, 0));
    EXPECT_TRUE(viewers.Windows().empty());
}

}  // namespace
}  // namespace quillon
