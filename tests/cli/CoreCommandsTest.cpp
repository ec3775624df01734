// The core numbers on the command line (analyse and compare) and the folding of accents.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <gtest/gtest.h>

#include "cli/CommandError.h"
#include "platform/Regional.h"
#include "support/CommandOutcome.h"
#include "support/PinnedDates.h"

namespace quillon {
namespace {

using CoreCommands = PinnedDates;

QJsonObject Json(const Outcome& run) { return QJsonDocument::fromJson(run.out.toUtf8()).object(); }

QJsonObject Number(const char* chain, int digit, std::optional<int> master = std::nullopt) {
    return {{"chain", chain}, {"digit", digit}, {"master", master ? QJsonValue(*master) : QJsonValue()}};
}

// MARY 12 born on 29/12/1985, the worked example: the block after the date block, and the object
// "core" beside the other keys; the numbers of the date only with a date.
TEST_F(CoreCommands, AnalyseShowsTheCoreNumbers) {
    const Outcome dated = Quillon({"analyse", "--date", "29/12/1985", "MARY 12"});
    ASSERT_EQ(dated.exitCode, kExitOk) << dated.err.toStdString();
    EXPECT_TRUE(
        dated.out.endsWith("Name + Date:  61 / 7\n"
                           "\n"
                           "Core numbers:\n"
                           "Expression    24 / 6\n"
                           "Soul urge     1\n"
                           "Personality   20 / 2\n"
                           "Life path     37 / 10 / 1\n"
                           "Birthday      29 / 11 / 2   master 11\n"
                           "Maturity      7\n"))
        << dated.out.toStdString();
    const Outcome plain = Quillon({"analyse", "MARY 12"});
    EXPECT_TRUE(plain.out.endsWith("\n\nCore numbers:\nExpression    24 / 6\nSoul urge     1\nPersonality   20 / 2\n"))
        << plain.out.toStdString();

    const QJsonObject expected{{"expression", Number("24 / 6", 6)},        {"soulurge", Number("1", 1)},
                               {"personality", Number("20 / 2", 2)},       {"lifepath", Number("37 / 10 / 1", 1)},
                               {"birthday", Number("29 / 11 / 2", 2, 11)}, {"maturity", Number("7", 7)}};
    const Outcome json = Quillon({"analyse", "--json", "--date", "29/12/1985", "MARY 12"});
    EXPECT_EQ(Json(json).value("core").toObject(), expected);
    QJsonObject undated = expected;
    for (const char* key : {"lifepath", "birthday", "maturity"}) undated.remove(key);
    EXPECT_EQ(Json(Quillon({"analyse", "--json", "MARY 12"})).value("core").toObject(), undated);
    EXPECT_EQ(Json(Quillon({"analyse", "--json", "KI"})).value("core").toObject().value("expression").toObject(),
              Number("11 / 2", 2, 11));
}

// Accented letters count as their base letters only when asked; the text keeps them as typed, and
// the reports are prepared from the folded values too.
TEST_F(CoreCommands, FoldAccentsValuesAccentedLettersAsTheirBaseLetters) {
    const std::pair<const char*, const char*> names[] = {{"JOSÉ", "JOSE"}, {"Zoë", "ZOE"}, {"ÆLFRED", "AELFRED"}};
    for (const auto& [accented, base] : names) {
        const QJsonObject folded =
            Json(Quillon({"analyse", "--json", "--fold-accents", "--date", "2/2/2002", accented}));
        const QJsonObject plain = Json(Quillon({"analyse", "--json", "--date", "2/2/2002", base}));
        const QJsonObject unfolded = Json(Quillon({"analyse", "--json", "--date", "2/2/2002", accented}));
        for (const char* key : {"VowelSum", "ConsonantSum", "GrandTotal", "core", "NameDate"}) {
            EXPECT_EQ(folded.value(key), plain.value(key)) << accented << " " << key;
        }
        EXPECT_LT(unfolded.value("GrandTotal").toInt(), plain.value("GrandTotal").toInt()) << accented;
        EXPECT_EQ(folded.value("DataText"), unfolded.value("DataText")) << accented;
    }
    EXPECT_EQ(Json(Quillon({"analyse", "--json", "--fold-accents", "Zoë"})).value("DataText").toString(), "ZOë");

    // --vowel-y turns an accented Y with folding; without it the Y is none.
    const Outcome vowelY = Quillon({"analyse", "--json", "--fold-accents", "--vowel-y", "1", "ýves"});
    ASSERT_EQ(vowelY.exitCode, kExitOk) << vowelY.err.toStdString();
    EXPECT_EQ(Json(vowelY).value("DataText").toString(), "ýVES");
    EXPECT_EQ(Json(vowelY).value("VTot").toString(), "12 / 3");
    EXPECT_EQ(Json(Quillon({"analyse", "--json", "--fold-accents", "ýves"})).value("DataText").toString(), "ÝVES");
    EXPECT_EQ(Quillon({"analyse", "--vowel-y", "1", "ýves"}).exitCode, kExitUsage);

    const Outcome prepared = Quillon({"prepare", "print", "--fold-accents", "JOSÉ"});
    ASSERT_EQ(prepared.exitCode, kExitOk) << prepared.err.toStdString();
    EXPECT_TRUE(prepared.out.contains("13 / 4")) << "JOSE's total";
}

// A letter typed as its base letter and combining marks is the composed letter, on the command
// line as in the window: the same text and the same values, with and without folding.
TEST_F(CoreCommands, DecomposedLettersAreValuedAsComposedOnes) {
    const std::pair<const char*, const char*> pairs[] = {
        {"JOSÉ", "JOSE\u0301"}, {"PEÑA", "PEN\u0303A"},           {"ÅSA", "A\u030aSA"},
        {"ŸVES", "Y\u0308VES"}, {"NGUYỆN", "NGUYE\u0302\u0323N"}, {"josé", "jose\u0301"},
    };
    for (const auto& [composed, decomposed] : pairs) {
        for (const QStringList& options : {QStringList{}, QStringList{"--fold-accents"}}) {
            const QStringList command = QStringList{"analyse", "--json", "--date", "2/2/2002"} + options;
            const QJsonObject expected = Json(Quillon(command + QStringList{composed}));
            EXPECT_EQ(Json(Quillon(command + QStringList{decomposed})), expected) << composed << options.size();
        }
        const QJsonObject compared = Json(Quillon({"compare", "--json", composed, decomposed}));
        EXPECT_EQ(compared.value("shared").toArray(), QJsonArray({"expression", "soulurge", "personality"}))
            << composed;
    }
}

// The numbers in columns, the shared ones marked, the chart of each; the JSON of the same.
TEST_F(CoreCommands, CompareSetsNamesSideBySide) {
    const Outcome run = Quillon({"compare", "--date", "29/12/1985", "--date", "29/12/1985", "MARY 12", "mary"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    EXPECT_TRUE(
        run.out.startsWith("Pythagorean\n"
                           "\n"
                           "                MARY 12       MARY\n"
                           "Date            29/12/1985    29/12/1985\n"
                           "Expression      24 / 6        21 / 3\n"
                           "Soul urge *     1             1\n"
                           "Personality *   20 / 2        20 / 2\n"
                           "Life path *     37 / 10 / 1   37 / 10 / 1\n"
                           "Birthday *      29 / 11 / 2   29 / 11 / 2\n"
                           "Maturity        7             4\n"
                           "\n"
                           "* the same final digit for every name\n"
                           "\n"
                           "MARY 12\n"))
        << run.out.toStdString();
    EXPECT_EQ(run.out.count("Consonants"), 2) << "a chart per name";

    const QJsonObject json = Json(Quillon({"compare", "--json", "--date", "29/12/1985", "MARY 12", "MARY", "KI"}));
    EXPECT_EQ(json.value("shared").toArray(), QJsonArray({"personality"}));
    const QJsonArray names = json.value("names").toArray();
    ASSERT_EQ(names.size(), 3);
    QJsonObject first =
        Json(Quillon({"analyse", "--json", "--date", "29/12/1985", "MARY 12"})).value("core").toObject();
    first.insert("name", "MARY 12");
    first.insert("date", "29/12/1985");
    EXPECT_EQ(names[0].toObject(), first);
    EXPECT_EQ(names[2].toObject().keys(), QStringList({"expression", "name", "personality", "soulurge"}));

    const QJsonObject folded = Json(Quillon({"compare", "--json", "--fold-accents", "JOSÉ", "jose"}));
    EXPECT_EQ(folded.value("shared").toArray(), QJsonArray({"expression", "soulurge", "personality"}));
    EXPECT_EQ(Json(Quillon({"compare", "--json", "JOSÉ", "jose"})).value("shared").toArray(),
              QJsonArray({"personality"}));
}

TEST_F(CoreCommands, CompareUsageErrors) {
    QStringList eleven;
    for (int i = 0; i < 11; ++i) eleven << "MARY";
    const std::pair<QStringList, QString> cases[] = {
        {{"MARY"}, "compare takes 2 to 10 names, not 1"},
        {{}, "compare takes 2 to 10 names, not 0"},
        {eleven, "compare takes 2 to 10 names, not 11"},
        {{"--date", "1/1/2000", "--date", "2/2/2000", "--date", "3/3/2000", "MARY", "JOHN"},
         "compare has 3 dates for 2 names; the first --date is the first name's, and so on"},
        {{"MARY", " \t"}, "compare: name 2 is empty"},
        {{"--system", "vedic", "MARY", "JOHN"}, "--system takes pythagorean or chaldean, not \"vedic\""},
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome run = Quillon(QStringList{"compare"} + arguments);
        EXPECT_EQ(run.exitCode, kExitUsage) << message.toStdString();
        EXPECT_EQ(run.err, "quillon: " + message + "\n");
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(Quillon({"compare", "--date", "31/02/2000", "MARY", "JOHN"}).exitCode, kExitUsage);
    QStringList ten = eleven.mid(1);
    EXPECT_EQ(Quillon(QStringList{"compare"} + ten).exitCode, kExitOk);
}

}  // namespace
}  // namespace quillon
