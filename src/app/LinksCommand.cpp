#include "app/LinksCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>

#include "app/CommandAnalysis.h"
#include "app/CommandLine.h"
#include "tools/WebLinks.h"

namespace quillon {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
            links.append(QJsonObject{{QStringLiteral("caption"), Text(link.caption)},
                                     {QStringLiteral("url"), Text(link.url)},
                                     {QStringLiteral("group"), Text(GroupName(link.group))}});
        }
        out << QJsonDocument(links).toJson(QJsonDocument::Indented);
    } else {
        // The addresses start in one column, two spaces after the longest caption.
        const auto longest = std::ranges::max(kWebLinks, {}, [](const WebLink& link) { return link.caption.size(); });
        const int column = static_cast<int>(Text(longest.caption).size()) + 2;
        for (const WebLink& link : kWebLinks) out << Text(link.caption).leftJustified(column) << Text(link.url) << "\n";
    }
    out.flush();
    return kExitOk;
}

}  // namespace quillon
