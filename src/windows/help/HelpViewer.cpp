#include "windows/help/HelpViewer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Messages.h"
#include "help/HelpAddress.h"
#include "help/HelpHtml.h"
#include "platform/ScreenPlace.h"
#include "platform/ShellServices.h"

namespace quillon {
namespace {

constexpr char kScheme[] = "chm";
constexpr int kPageRole = Qt::UserRole;

QString QStringOf(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

QString MissingPageHtml(const QString& page) {
    return QStringLiteral(
               "<html><body><h1>Page not found</h1><p>This page is not in the help file: <code>%1</code></p>"
               "<p>Click Home for the start page, or choose a page from the contents.</p></body></html>")
        .arg(Escaped(page));
}

HelpBrowser::HelpBrowser(const ChmFile& file, QWidget* parent) : QTextBrowser(parent), file_(file) {
    // Links are followed here: pages of the help file in the browser, other addresses outside.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::Follow);
}

QUrl HelpBrowser::UrlOf(const QString& objectPath) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    const qsizetype hash = objectPath.indexOf(QLatin1Char('#'));
    url.setPath(QStringOf(ChmObjectPath(objectPath.left(hash).toStdString())));
    if (hash >= 0) url.setFragment(objectPath.mid(hash + 1));
    return url;
}

QString HelpBrowser::CurrentPage() const { return source().path(); }

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = source().resolved(name);
    if (url.scheme() != QLatin1String(kScheme)) return {};
    const auto bytes = file_.Read(url.path().toStdString());
    switch (type) {
        case QTextDocument::HtmlResource:
            return bytes ? QVariant(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())))
                         : QVariant(MissingPageHtml(url.path()));
        case QTextDocument::ImageResource:
            if (!bytes) return {};
            return QImage::fromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()));
        default:
            if (!bytes) return {};
            return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
    }
}

bool HelpBrowser::event(QEvent* event) {
    // The text control would claim Alt+Left, Alt+Right and Alt+Home for moving the cursor; they
    // belong to the window's Back, Forward and Home.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool navigation = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right || key->key() == Qt::Key_Home;
        if (navigation && key->modifiers() == Qt::AltModifier) {
            event->ignore();
            return true;
        }
    }
    return QTextBrowser::event(event);
}

bool IsOpenableOutsideAddress(const QUrl& url) {
    if (!url.isValid()) return false;
    const QString scheme = url.scheme();
    const auto is = [&scheme](const char* name) {
        return scheme.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("http") || is("https")) return !url.host().isEmpty();
    if (!is("mailto")) return false;
    // Some mail programs take fields beyond the message's own, such as "attach", which would put
    // one of the user's files into a message that a page prepared.
    static const QStringList kMessageFields = {QStringLiteral("to"), QStringLiteral("cc"), QStringLiteral("bcc"),
                                               QStringLiteral("subject"), QStringLiteral("body")};
    const auto fields = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    return std::all_of(fields.begin(), fields.end(), [](const QPair<QString, QString>& field) {
        return kMessageFields.contains(field.first, Qt::CaseInsensitive);
    });
}

void HelpBrowser::Follow(const QUrl& link) {
    const QUrl url = source().resolved(link);
    if (url.scheme().compare(QLatin1String(kScheme), Qt::CaseInsensitive) == 0) {
        setSource(url);
        return;
    }
    // A help file can come from anywhere (the one in the folder the program starts from is taken
    // first), so its pages hand only web pages and mail addresses to the desktop; a file, a
    // program or any other address the desktop's opener would act on beeps.
    ShellServices& shell = CurrentShellServices();
    if (!IsOpenableOutsideAddress(url)) {
        shell.Beep();
        return;
    }
    shell.Open(url.toString(QUrl::FullyEncoded), [](bool opened) {
        if (!opened) CurrentShellServices().Beep();
    });
}

HelpViewerWindow::HelpViewerWindow(std::unique_ptr<ChmFile> file) : file_(std::move(file)) {
    setObjectName(QStringLiteral("HelpViewer"));
    const std::string& title = file_->System().title;
    setWindowTitle(title.empty() ? QStringLiteral("Quillon Help") : QStringOf(title));
    resize(820, 580);

    auto* tools = new QHBoxLayout;
    const auto makeButton = [this, tools](const QString& text, QStyle::StandardPixmap icon, const QKeySequence& key,
                                          const QString& hint) {
        auto* button = new QToolButton(this);
        button->setText(text);
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setShortcut(key);
        button->setToolTip(hint);
        tools->addWidget(button);
        return button;
    };
    BackBtn = makeButton(QStringLiteral("Back"), QStyle::SP_ArrowBack, QKeySequence(Qt::ALT | Qt::Key_Left),
                         QStringLiteral("Back to the previous page (Alt+Left)"));
    ForwardBtn = makeButton(QStringLiteral("Forward"), QStyle::SP_ArrowForward, QKeySequence(Qt::ALT | Qt::Key_Right),
                            QStringLiteral("Forward again (Alt+Right)"));
    HomeBtn = makeButton(QStringLiteral("Home"), QStyle::SP_DirHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home),
                         QStringLiteral("The start page (Alt+Home)"));
    tools->addStretch();

    Browser = new HelpBrowser(*file_, this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setAccessibleName(QStringLiteral("Help page"));
    Contents = new QTreeWidget(this);
    Contents->setObjectName(QStringLiteral("Contents"));
    Contents->header()->hide();
    Contents->setAccessibleName(QStringLiteral("Contents"));
    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    IndexFilter = new QLineEdit(indexPage);
    IndexFilter->setObjectName(QStringLiteral("IndexFilter"));
    IndexFilter->setPlaceholderText(QStringLiteral("Type a keyword"));
    IndexFilter->setAccessibleName(QStringLiteral("Keyword"));
    Index = new QListWidget(indexPage);
    Index->setObjectName(QStringLiteral("Index"));
    Index->setAccessibleName(QStringLiteral("Index"));
    indexLayout->addWidget(IndexFilter);
    indexLayout->addWidget(Index);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(Contents, QStringLiteral("Contents"));
    tabs->addTab(indexPage, QStringLiteral("Index"));
    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 590});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(tools);
    layout->addWidget(splitter, 1);
    // Tab goes from the buttons to the contents or the index at the left, then into the page.
    QWidget* const order[] = {BackBtn, ForwardBtn, HomeBtn, tabs, Contents, IndexFilter, Index, Browser};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    BuildContents();
    BuildIndex();

    connect(BackBtn, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(ForwardBtn, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(HomeBtn, &QToolButton::clicked, this, [this] { ShowPage({}); });
    connect(Browser, &QTextBrowser::backwardAvailable, BackBtn, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardBtn, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, &HelpViewerWindow::SelectInContents);
    connect(Contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowPage(item->data(0, kPageRole).toString()); });
    connect(Contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowPage(item->data(0, kPageRole).toString()); });
    connect(IndexFilter, &QLineEdit::textChanged, this, &HelpViewerWindow::FilterIndex);
    connect(IndexFilter, &QLineEdit::returnPressed, this, &HelpViewerWindow::ShowIndexEntry);
    connect(Index, &QListWidget::itemActivated, this, &HelpViewerWindow::ShowIndexEntry);
    connect(Index, &QListWidget::itemClicked, this, &HelpViewerWindow::ShowIndexEntry);
    BackBtn->setEnabled(false);
    ForwardBtn->setEnabled(false);
}

HelpViewerWindow::~HelpViewerWindow() = default;

void HelpViewerWindow::BuildContents() {
    const auto sitemap = file_->Read(file_->System().contentsFile);
    if (file_->System().contentsFile.empty() || !sitemap) return;
    // The last item at each depth, to hang the deeper items under.
    std::vector<QTreeWidgetItem*> parents;
    for (const SitemapEntry& entry : ParseSitemap(*sitemap)) {
        const auto depth = static_cast<std::size_t>(entry.depth);
        QTreeWidgetItem* parent = depth > 0 && depth <= parents.size() ? parents[depth - 1] : nullptr;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Contents);
        item->setText(0, QStringOf(entry.name));
        item->setData(0, kPageRole, QStringOf(entry.local));
        parents.resize(std::min(depth, parents.size()));
        parents.push_back(item);
    }
    Contents->expandAll();
}

void HelpViewerWindow::BuildIndex() {
    const auto sitemap = file_->Read(file_->System().indexFile);
    if (file_->System().indexFile.empty() || !sitemap) return;
    for (const SitemapEntry& entry : ParseSitemap(*sitemap)) {
        auto* item = new QListWidgetItem(QStringOf(entry.name), Index);
        item->setData(kPageRole, QStringOf(entry.local));
    }
    Index->sortItems();
}

void HelpViewerWindow::ShowPage(const QString& page) {
    const QString target = page.isEmpty() ? QStringOf(file_->DefaultPage()) : page;
    if (target.isEmpty()) {
        Browser->setHtml(MissingPageHtml(QStringLiteral("(no start page)")));
        return;
    }
    Browser->setSource(HelpBrowser::UrlOf(target), QTextDocument::HtmlResource);
}

void HelpViewerWindow::BringToFront() { quillon::BringToFront(*this); }

void HelpViewerWindow::SelectInContents(const QUrl& url) {
    const QString page = url.path();
    for (QTreeWidgetItemIterator it(Contents); *it; ++it) {
        const QString local = (*it)->data(0, kPageRole).toString();
        if (!local.isEmpty() && HelpBrowser::UrlOf(local).path().compare(page, Qt::CaseInsensitive) == 0) {
            const QSignalBlocker quiet(Contents);
            Contents->setCurrentItem(*it);
            return;
        }
    }
}

void HelpViewerWindow::FilterIndex(const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < Index->count(); ++row) {
        QListWidgetItem* item = Index->item(row);
        const bool matches = item->text().startsWith(text, Qt::CaseInsensitive);
        if (matches && !first) first = item;
    }
    if (first) Index->setCurrentItem(first);
}

void HelpViewerWindow::ShowIndexEntry() {
    if (QListWidgetItem* item = Index->currentItem()) ShowPage(item->data(kPageRole).toString());
}

HelpViewers::~HelpViewers() {
    // Windows can only be deleted while the application object exists; after it, at the very end
    // of the process, they are left to the system.
    if (!QCoreApplication::instance()) {
        for (auto& window : windows_) static_cast<void>(window.release());
    }
}

HelpViewerWindow* HelpViewers::WindowFor(const QString& helpFile) {
    const QString path = QFileInfo(helpFile).absoluteFilePath();
    for (const auto& window : windows_) {
        if (QString::fromStdString(window->File().FileName()) == path) return window.get();
    }
    auto file = ChmFile::Open(library_, path.toStdString());
    if (!file) {
        CurrentMessages().Show(kApplicationTitle, "Cannot open the help file \"" + path.toStdString() + "\".",
                               MessageIcon::Warning);
        return nullptr;
    }
    windows_.push_back(std::make_unique<HelpViewerWindow>(std::move(file)));
    return windows_.back().get();
}

std::vector<HelpViewerWindow*> HelpViewers::Windows() const {
    std::vector<HelpViewerWindow*> windows;
    for (const auto& window : windows_) windows.push_back(window.get());
    return windows;
}

void HelpViewers::CloseAll() { windows_.clear(); }

bool HelpViewers::HtmlHelp(std::string_view address, HtmlHelpCommand command, std::uint32_t) {
    switch (command) {
        case HtmlHelpCommand::CloseAll: CloseAll(); return false;
        case HtmlHelpCommand::DisplayTopic:
        case HtmlHelpCommand::HelpContext: break;
    }
    const HelpAddressParts parts = SplitHelpAddress(address);
    HelpViewerWindow* window = WindowFor(QStringOf(parts.helpFile));
    if (!window) return false;
    // The help file maps no context numbers to pages, so a context request shows the start page.
    window->ShowPage(command == HtmlHelpCommand::DisplayTopic ? QStringOf(parts.page) : QString());
    window->BringToFront();
    return true;
}

}  // namespace quillon
