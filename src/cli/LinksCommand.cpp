#include "cli/LinksCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <algorithm>

#include "cli/CommandError.h"
#include "cli/CommandTable.h"
#include "cli/Options.h"
#include "windows/links/WebLinks.h"

namespace quillon {
int RunLinksCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    if (const QStringList words = arguments.Words(); !words.isEmpty()) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("links takes only --json, not \"%1\"").arg(words.first()));
    }
    const bool json = arguments.IsSet(kJsonOption);
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
