#pragma once
// The help viewer: a window that shows the pages of a compiled help file, with the table of
// contents and the keyword index at its left and Back, Forward and Home above the page, and the
// control that the help code calls to show a topic, show a context or close every viewer window.
// One window serves each help file and is reused for every request on it.

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <vector>

#include "help/ChmFile.h"
#include "help/hh_funcs.h"

class QLineEdit;
class QListWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillon {

// A text browser whose pages, style sheets and pictures come out of a help file. Its addresses
// have the scheme "chm" and the object path as their path ("chm:/html/a.htm"), so that relative
// links resolve as they do on disk.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    HelpBrowser(const ChmFile& file, QWidget* parent);

    static QUrl UrlOf(const QString& objectPath);
    QString CurrentPage() const;

    QVariant loadResource(int type, const QUrl& name) override;

protected:
    bool event(QEvent* event) override;

private:
    void Follow(const QUrl& link);

    const ChmFile& file_;
};

class HelpViewerWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewerWindow(std::unique_ptr<ChmFile> file);
    ~HelpViewerWindow() override;

    const ChmFile& File() const { return *file_; }
    // Shows a page of the help file, given as an object path or a page name ("html\a.htm" and
    // "/html/a.htm" are the same page); the default page when empty.
    void ShowPage(const QString& page);
    // The object path of the page shown.
    QString CurrentPage() const { return Browser->CurrentPage(); }
    // Brings the window to the front, shown.
    void BringToFront();

    HelpBrowser* Browser = nullptr;
    QToolButton* BackBtn = nullptr;
    QToolButton* ForwardBtn = nullptr;
    QToolButton* HomeBtn = nullptr;
    QTreeWidget* Contents = nullptr;
    QLineEdit* IndexFilter = nullptr;
    QListWidget* Index = nullptr;

private:
    void BuildContents();
    void BuildIndex();
    void SelectInContents(const QUrl& url);
    void FilterIndex(const QString& text);
    void ShowIndexEntry();

    std::unique_ptr<ChmFile> file_;
};

// The viewer control: one window per help file, kept (hidden when closed) until every viewer
// window is closed at once.
class HelpViewers final : public HtmlHelpControl {
public:
    explicit HelpViewers(const ChmLibrary& library) : library_(library) {}
    ~HelpViewers() override;
    HelpViewers(const HelpViewers&) = delete;
    HelpViewers& operator=(const HelpViewers&) = delete;

    bool HtmlHelp(std::string_view address, HtmlHelpCommand command, std::uint32_t data) override;

    // The window of a help file, opened when there is none; null when the file cannot be read,
    // after saying so.
    HelpViewerWindow* WindowFor(const QString& helpFile);
    // The windows open now.
    std::vector<HelpViewerWindow*> Windows() const;
    void CloseAll();

private:
    const ChmLibrary& library_;
    std::vector<std::unique_ptr<HelpViewerWindow>> windows_;
};

// Whether a help page's link to an address outside the help file is handed to the desktop: a web
// page (http or https with a host) or a mail address whose fields are only to, cc, bcc, subject and
// body. The scheme's letter case does not matter.
bool IsOpenableOutsideAddress(const QUrl& url);

// The text shown in place of a page that the help file does not hold.
QString MissingPageHtml(const QString& page);

}  // namespace quillon
