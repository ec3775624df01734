#include "cli/HelpCommand.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <optional>

#include "cli/CommandError.h"
#include "cli/CommandTable.h"
#include "cli/Options.h"
#include "help/AsciiText.h"
#include "help/HelpAddress.h"
#include "help/HelpHtml.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

// The object path of a page as a person types it: "html\a.htm", "html/a.htm", "/html/a.htm" and
// "::/html/a.htm" are the same page.
QString ObjectPathOf(QString page) {
    if (page.startsWith(QLatin1String("::"))) page.remove(0, 2);
    return QString::fromStdString(FormHelpAddress("", page.toStdString(), "", HelpAddressPrefix::None));
}

// Prints the table of contents; false when the help file has none that can be read, after saying
// so.
bool PrintContents(const ChmFile& file, const QString& helpFile, QTextStream& out, QTextStream& err) {
    const std::string& contents = file.System().contentsFile;
    if (contents.empty()) {
        CommandError(err, ErrorKind::Failure,
                     QStringLiteral("the help file %1 has no table of contents").arg(helpFile));
        return false;
    }
    const auto sitemap = file.Read(contents);
    if (!sitemap) {
        CommandError(err, ErrorKind::Failure,
                     QStringLiteral("cannot read the table of contents %1 of the help file %2")
                         .arg(QString::fromStdString(contents), helpFile));
        return false;
    }
    QStringList titles;
    QStringList pages;
    qsizetype width = 0;
    for (const SitemapEntry& entry : ParseSitemap(*sitemap)) {
        titles << QString(2 * entry.depth, QLatin1Char(' ')) + VisibleText(QString::fromStdString(entry.name));
        pages << VisibleText(QString::fromStdString(entry.local));
        width = std::max(width, titles.back().size());
    }
    for (qsizetype i = 0; i < titles.size(); ++i) out << titles[i].leftJustified(width + 2) << pages[i] << "\n";
    return true;
}

// Why an object of the help file is no page to show: a folder or a file that is not HTML.
QString NotAPage(const QString& objectPath) {
    if (objectPath.endsWith(QLatin1Char('/'))) return QStringLiteral("is a folder, not a page");
    const std::string lower = AsciiLowerCase(objectPath.toStdString());
    if (!lower.ends_with(".htm") && !lower.ends_with(".html")) return QStringLiteral("is not an HTML page");
    return {};
}

bool CanShowWindows() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

std::optional<QString> HelpPageText(const ChmFile& file, const QString& page) {
    const auto bytes = file.Read(page.toStdString());
    if (!bytes) return std::nullopt;
    return TerminalText(QString::fromStdString(HtmlToText(*bytes)));
}

int RunHelpCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    const bool text = arguments.IsSet(kTextOption);
    const bool list = arguments.IsSet(kListOption);
    const QStringList words = arguments.Words();
    if (words.size() > 1) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("help takes one PAGE; see quillon help --help"));
    }
    const QString page = words.value(0);
    if (text && list) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("help takes --text or --list, not both"));
    }

    HelpService& help = CurrentHelp();
    const QString helpFile = help.FindHelpFile(QDir::currentPath());
    if (!help.Library().Loaded()) {
        return CommandError(
            err, ErrorKind::Failure,
            QStringLiteral("cannot read help files: %1").arg(QString::fromStdString(help.Library().Error())));
    }
    const auto file = ChmFile::Open(help.Library(), helpFile.toStdString());
    if (!file) {
        return CommandError(err, ErrorKind::Failure, QStringLiteral("cannot open the help file %1").arg(helpFile));
    }
    if (list) {
        const bool listed = PrintContents(*file, helpFile, out, err);
        out.flush();
        return listed ? kExitOk : kExitFailure;
    }
    const QString objectPath = page.isEmpty() ? QString::fromStdString(file->DefaultPage()) : ObjectPathOf(page);
    const QString pageName = page.isEmpty() ? objectPath : page;
    if (objectPath.isEmpty() || !file->Contains(objectPath.toStdString())) {
        return CommandError(err, ErrorKind::Failure,
                            QStringLiteral("the help file %1 has no page %2")
                                .arg(helpFile, page.isEmpty() ? QStringLiteral("to start with") : page));
    }
    if (const QString reason = NotAPage(objectPath); !reason.isEmpty()) {
        return CommandError(err, ErrorKind::Failure,
                            QStringLiteral("%1 in the help file %2 %3").arg(pageName, helpFile, reason));
    }
    if (text) {
        const std::optional<QString> pageText = HelpPageText(*file, objectPath);
        if (!pageText) {
            return CommandError(err, ErrorKind::Failure,
                                QStringLiteral("cannot read the page %1 of the help file %2").arg(pageName, helpFile));
        }
        out << *pageText;
        out.flush();
        return kExitOk;
    }
    if (!CanShowWindows()) {
        return CommandError(
            err, ErrorKind::Failure,
            QStringLiteral("no display to open the help viewer on; try quillon help --text %1").arg(page).trimmed());
    }
    // A help file that the viewer cannot open has been reported; there is no window to wait for.
    if (!help.ShowTopic(helpFile + QStringLiteral("::") + objectPath)) return kExitFailure;
    QApplication::exec();
    help.CloseAll();
    return kExitOk;
}

}  // namespace quillon
