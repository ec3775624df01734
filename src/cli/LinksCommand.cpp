#include "cli/LinksCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>

#include "cli/AnalyseCommand.h"
#include "cli/CommandLine.h"
#include "windows/links/WebLinks.h"

namespace quillon {
namespace {

QString LinksUsage() {
    return QStringLiteral(
        "Usage: quillon links [--json]\n"
        "\n"
        "Lists the web pages of the links window in the window's order: the caption,\n"
        "then the address. --json prints an array of objects with \"caption\", \"url\"\n"
        "and \"group\" (maker, other or donation).\n");
}

}  // namespace

int RunLinksCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    bool json = false;
    for (const QString& argument : arguments.mid(2)) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            out << LinksUsage();
            out.flush();
            return kExitOk;
        }
        if (argument != QLatin1String("--json")) {
            return UsageError(err, QStringLiteral("links takes only --json, not \"%1\"").arg(argument));
        }
        json = true;
    }

    if (json) {
        QJsonArray links;
        for (const WebLink& link : kWebLinks) {
            links.append(QJsonObject{{QStringLiteral("caption"), QString::fromUtf8(link.caption)},
                                     {QStringLiteral("url"), QString::fromUtf8(link.url)},
                                     {QStringLiteral("group"), QString::fromUtf8(GroupName(link.group))}});
        }
        out << QJsonDocument(links).toJson(QJsonDocument::Indented);
    } else {
        // The addresses start in one column, two spaces after the longest caption.
        const auto longest = std::ranges::max(kWebLinks, {}, [](const WebLink& link) { return link.caption.size(); });
        const int column = static_cast<int>(QString::fromUtf8(longest.caption).size()) + 2;
        for (const WebLink& link : kWebLinks) {
            out << QString::fromUtf8(link.caption).leftJustified(column) << QString::fromUtf8(link.url) << "\n";
        }
    }
    out.flush();
    return kExitOk;
}

}  // namespace quillon
