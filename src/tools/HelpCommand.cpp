#include "tools/HelpCommand.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "app/CommandLine.h"
#include "tools/HelpAddress.h"
#include "tools/HelpService.h"
#include "tools/HelpHtml.h"

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
    err << "quillon: " << message << "\n";
    err.flush();
    return code;
}

// The object path of a page as a person types it: "html\a.htm", "html/a.htm", "/html/a.htm" and
// "::/html/a.htm" are the same page.
QString ObjectPathOf(QString page) {
    if (page.startsWith(QLatin1String("::"))) page.remove(0, 2);
    return QString::fromStdString(FormHelpAddress("", page.toStdString(), "", HelpAddressPrefix::None));
}

void PrintContents(const ChmFile& file, QTextStream& out) {
    const auto sitemap = file.Read(file.System().contentsFile);
    if (file.System().contentsFile.empty() || !sitemap) return;
    const std::vector<SitemapEntry> entries = ParseSitemap(*sitemap);
    qsizetype width = 0;
    for (const SitemapEntry& entry : entries) {
        width = std::max(width, 2 * entry.depth + QString::fromStdString(entry.name).size());
    }
    for (const SitemapEntry& entry : entries) {
        const QString title = QString(2 * entry.depth, QLatin1Char(' ')) + QString::fromStdString(entry.name);
        out << title.leftJustified(width + 2) << QString::fromStdString(entry.local) << "\n";
    }
}

bool CanShowWindows() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

QString HelpPageText(const ChmFile& file, const QString& page) {
    const auto bytes = file.Read(page.toStdString());
    if (!bytes) return {};
    return QString::fromStdString(HtmlToText(*bytes));
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
        PrintContents(*file, out);
        out.flush();
        return kExitOk;
    }
    const QString objectPath = page.isEmpty() ? QString::fromStdString(file->DefaultPage()) : ObjectPathOf(page);
    if (objectPath.isEmpty() || !file->Contains(objectPath.toStdString())) {
        return Fail(err,
                    QStringLiteral("the help file %1 has no page %2")
                        .arg(helpFile, page.isEmpty() ? QStringLiteral("to start with") : page),
                    kExitFailure);
    }
    if (text) {
        out << HelpPageText(*file, objectPath);
        out.flush();
        return kExitOk;
    }
    if (!CanShowWindows()) {
        return Fail(
            err,
            QStringLiteral("no display to open the help viewer on; try quillon help --text %1").arg(page).trimmed(),
            kExitFailure);
    }
    help.ShowTopic(helpFile + QStringLiteral("::") + objectPath);
    QApplication::exec();
    help.CloseAll();
    return kExitOk;
}

}  // namespace quillon
