#include "cli/LinksCommand.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "support/CommandOutcome.h"
#include "support/QtPrint.h"
#include "windows/links/WebLinks.h"

namespace quillon {
namespace {

Outcome Links(const QStringList& options) { return Quillon(QStringList{QStringLiteral("links")} + options); }

TEST(LinksCommand, ListsCaptionAndAddressPerLineInWindowOrder) {
    const Outcome run = Links({});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(kWebLinks.size()));
    const qsizetype column = lines[0].indexOf(QStringLiteral("https://"));
    for (std::size_t i = 0; i < kWebLinks.size(); ++i) {
        const QString& line = lines[static_cast<qsizetype>(i)];
        const QString caption = QString::fromUtf8(kWebLinks[i].caption);
        EXPECT_TRUE(line.startsWith(caption + QStringLiteral("  "))) << line.toStdString();
        EXPECT_EQ(line.mid(column), QString::fromUtf8(kWebLinks[i].url)) << "the addresses share one column";
    }
}

TEST(LinksCommand, JsonGivesCaptionAddressAndGroup) {
    const Outcome run = Links({QStringLiteral("--json")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    const QJsonArray links = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(links.size(), static_cast<qsizetype>(kWebLinks.size()));
    QStringList groups;
    for (qsizetype i = 0; i < links.size(); ++i) {
        const QJsonObject link = links[i].toObject();
        QStringList keys = link.keys();
        EXPECT_EQ(keys, QStringList({"caption", "group", "url"}));
        const WebLink& expected = kWebLinks[static_cast<std::size_t>(i)];
        EXPECT_EQ(link[QStringLiteral("caption")].toString(), QString::fromUtf8(expected.caption));
        EXPECT_EQ(link[QStringLiteral("url")].toString(), QString::fromUtf8(expected.url));
        groups << link[QStringLiteral("group")].toString();
    }
    EXPECT_EQ(groups, QStringList({"maker", "maker", "maker", "maker", "maker", "maker", "other", "other", "other",
                                   "donation"}));
}

TEST(LinksCommand, HelpAndUsageErrors) {
    struct Row {
        const char* name;
        QStringList options;
        int exitCode;
        QString out;
        QString err;
    };
    const Row rows[] = {
        {"help", {QStringLiteral("--help")}, kExitOk, QStringLiteral("Usage: quillon links [--json]"), {}},
        {"short help", {QStringLiteral("-h")}, kExitOk, QStringLiteral("Usage: quillon links [--json]"), {}},
        {"unknown option",
         {QStringLiteral("--all")},
         kExitUsage,
         {},
         QStringLiteral("quillon: links has no option \"--all\"; see quillon links --help\n")},
        {"stray word",
         {QStringLiteral("--json"), QStringLiteral("maker")},
         kExitUsage,
         {},
         QStringLiteral("quillon: links takes only --json, not \"maker\"\n")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome run = Links(row.options);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.err, row.err);
        if (row.out.isEmpty()) {
            EXPECT_TRUE(run.out.isEmpty());
        } else {
            EXPECT_TRUE(run.out.startsWith(row.out)) << run.out.toStdString();
        }
    }
}

}  // namespace
}  // namespace quillon
