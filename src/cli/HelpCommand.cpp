#include "cli/HelpCommand.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <optional>

#include "cli/AnalyseCommand.h"
#include "cli/CommandLine.h"
#include "common/Messages.h"
#include "help/AsciiText.h"
#include "help/HelpAddress.h"
#include "help/HelpHtml.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

QString Usage() {
    return QStringLiteral(
        "Usage: quillon help [--text | --list] [PAGE]\n"
        "\n"
        "Opens the help viewer at PAGE, or at the start page of the help.\n"
        "\n"
        "  --text     Prints the page as plain text instead; needs no display.\n"
        "  --list     Prints the table of contents with the name of every page.\n"
        "  -h, --help Shows this text.\n"
        "\n"
        "PAGE is a page of the help file as --list names it, such as html/quil3x2q.htm;\n"
        "a leading slash and backslashes are accepted. The help file quill.chm is taken\n"
        "from the current folder, else from the program's folder, else from\n"
        "share/quillon beside the program's bin folder.\n");
}

int Fail(QTextStream& err, const QString& message, int code) {
    err << "quillon: " << VisibleText(message) << "\n";
    err.flush();
    return code;
}

// The messages of the help code while the command runs, written as the command's own.
class CommandMessages final : public Messages {
public:
    explicit CommandMessages(QTextStream& err) : err_(err) {}
    void Show(std::string_view, std::string_view text, MessageIcon) override {
        Fail(err_, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), kExitFailure);
    }

private:
    QTextStream& err_;
};

// Text for a terminal: every line with its control characters written as escapes.
QString TerminalText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = VisibleText(line);
    return lines.join(QLatin1Char('\n'));
}

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
        Fail(err, QStringLiteral("the help file %1 has no table of contents").arg(helpFile), kExitFailure);
        return false;
    }
    const auto sitemap = file.Read(contents);
    if (!sitemap) {
        Fail(err,
             QStringLiteral("cannot read the table of contents %1 of the help file %2")
                 .arg(QString::fromStdString(contents), helpFile),
             kExitFailure);
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

int RunHelpCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    bool text = false;
    bool list = false;
    bool optionsEnd = false;
    QString page;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnd && (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
            out << Usage();
            out.flush();
            return kExitOk;
        }
        if (!optionsEnd && argument == QLatin1String("--text")) {
            text = true;
        } else if (!optionsEnd && argument == QLatin1String("--list")) {
            list = true;
        } else if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            return Fail(err, QStringLiteral("help has no option \"%1\"; see quillon help --help").arg(argument),
                        kExitUsage);
        } else if (!page.isEmpty()) {
            return Fail(err, QStringLiteral("help takes one PAGE; see quillon help --help"), kExitUsage);
        } else {
            page = argument;
        }
    }
    if (text && list) return Fail(err, QStringLiteral("help takes --text or --list, not both"), kExitUsage);

    CommandMessages messages(err);
    const ScopedMessages messagesToErr(messages);
    HelpService& help = CurrentHelp();
    const QString helpFile = help.FindHelpFile(QDir::currentPath());
    if (!help.Library().Loaded()) {
        return Fail(err,
                    QStringLiteral("cannot read help files: %1").arg(QString::fromStdString(help.Library().Error())),
                    kExitFailure);
    }
    const auto file = ChmFile::Open(help.Library(), helpFile.toStdString());
    if (!file) return Fail(err, QStringLiteral("cannot open the help file %1").arg(helpFile), kExitFailure);
    if (list) {
        const bool listed = PrintContents(*file, helpFile, out, err);
        out.flush();
        return listed ? kExitOk : kExitFailure;
    }
    const QString objectPath = page.isEmpty() ? QString::fromStdString(file->DefaultPage()) : ObjectPathOf(page);
    const QString pageName = page.isEmpty() ? objectPath : page;
    if (objectPath.isEmpty() || !file->Contains(objectPath.toStdString())) {
        return Fail(err,
                    QStringLiteral("the help file %1 has no page %2")
                        .arg(helpFile, page.isEmpty() ? QStringLiteral("to start with") : page),
                    kExitFailure);
    }
    if (const QString reason = NotAPage(objectPath); !reason.isEmpty()) {
        return Fail(err, QStringLiteral("%1 in the help file %2 %3").arg(pageName, helpFile, reason), kExitFailure);
    }
    if (text) {
        const std::optional<QString> pageText = HelpPageText(*file, objectPath);
        if (!pageText) {
            return Fail(err, QStringLiteral("cannot read the page %1 of the help file %2").arg(pageName, helpFile),
                        kExitFailure);
        }
        out << *pageText;
        out.flush();
        return kExitOk;
    }
    if (!CanShowWindows()) {
        return Fail(
            err,
            QStringLiteral("no display to open the help viewer on; try quillon help --text %1").arg(page).trimmed(),
            kExitFailure);
    }
    // A help file that the viewer cannot open has been reported; there is no window to wait for.
    if (!help.ShowTopic(helpFile + QStringLiteral("::") + objectPath)) return kExitFailure;
    QApplication::exec();
    help.CloseAll();
    return kExitOk;
}

}  // namespace quillon
