#include "cli/CommandLine.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <thread>

#include "cli/Screenshot.h"
#include "numerology/ValueNames.h"
#include "platform/Regional.h"
#include "report/content/TemplateData.h"
#include "report/format/TemplateStream.h"
#include "support/CommandOutcome.h"
#include "support/PinnedDates.h"
#include "support/QtPrint.h"

namespace quillon {
namespace {

QJsonObject Json(const Outcome& run) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document.object();
}

TEST(CommandLineMode, DecidedFromTheArguments) {
    EXPECT_EQ(ModeOf({QStringLiteral("quillon")}), StartMode::Window);
    EXPECT_EQ(ModeOf({QStringLiteral("quillon"), QStringLiteral("analyse"), QStringLiteral("X")}),
              StartMode::CommandLine);
    EXPECT_EQ(ModeOf({QStringLiteral("quillon"), QStringLiteral("--screenshot"), QStringLiteral("/tmp/x")}),
              StartMode::Screenshot);
}

TEST(AnalyseJson, ContractForAPastedName) {
    const Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("--json"), QStringLiteral("  mary y  ")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    const QJsonObject json = Json(run);

    QStringList expectedKeys = {
        QStringLiteral("nameftr"),    QStringLiteral("master"),       QStringLiteral("Method"),
        QStringLiteral("Data"),       QStringLiteral("Vowels"),       QStringLiteral("Consonants"),
        QStringLiteral("CTot"),       QStringLiteral("VTot"),         QStringLiteral("Total"),
        QStringLiteral("vvt"),        QStringLiteral("cct"),          QStringLiteral("ttt"),
        QStringLiteral("VowelSum"),   QStringLiteral("ConsonantSum"), QStringLiteral("NumberSum"),
        QStringLiteral("GrandTotal"), QStringLiteral("DateDigitSum"), QStringLiteral("DataText"),
        QStringLiteral("core")};
    for (int digit = 1; digit <= 9; ++digit) {
        for (const char* row : {"V", "C", "T"}) expectedKeys << QString::fromLatin1(row) + QString::number(digit);
    }
    QStringList keys = json.keys();
    keys.sort();
    expectedKeys.sort();
    EXPECT_EQ(keys, expectedKeys) << "no date group without a date";

    EXPECT_EQ(json.value(QStringLiteral("master")), QJsonValue(33));
    EXPECT_EQ(json.value(QStringLiteral("Method")).toString(), QStringLiteral("Pythagorean"));
    EXPECT_EQ(json.value(QStringLiteral("Data")).toString(), QStringLiteral("MARY Y"));
    EXPECT_EQ(json.value(QStringLiteral("DataText")).toString(), QStringLiteral("MARY Y"));
    EXPECT_EQ(json.value(QStringLiteral("Vowels")).toString(), QStringLiteral(" 1    "));
    EXPECT_EQ(json.value(QStringLiteral("Consonants")).toString(), QStringLiteral("4 97 7"));
    EXPECT_EQ(json.value(QStringLiteral("VTot")).toString(), QStringLiteral("1"));
    EXPECT_EQ(json.value(QStringLiteral("CTot")).toString(), QStringLiteral("27 / 9"));
    EXPECT_EQ(json.value(QStringLiteral("Total")).toString(), QStringLiteral("28 / 10 / 1"));
    EXPECT_EQ(json.value(QStringLiteral("C7")).toString(), QStringLiteral("2"));
    EXPECT_EQ(json.value(QStringLiteral("ttt")).toString(), QStringLiteral("5"));
    EXPECT_EQ(json.value(QStringLiteral("GrandTotal")), QJsonValue(28));
    EXPECT_EQ(json.value(QStringLiteral("ConsonantSum")), QJsonValue(27));
    EXPECT_EQ(json.value(QStringLiteral("DateDigitSum")), QJsonValue(0));
    for (const QString& key : json.keys()) {
        const bool integer =
            key == QLatin1String("master") || key.endsWith(QLatin1String("Sum")) || key == QLatin1String("GrandTotal");
        EXPECT_EQ(json.value(key).isDouble(), integer) << key.toStdString();
    }
}

TEST(AnalyseJson, SystemAndVowelY) {
    Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("--system"), QStringLiteral("chaldean"),
                           QStringLiteral("--json"), QStringLiteral("MARY 12")});
    ASSERT_EQ(run.exitCode, kExitOk);
    EXPECT_EQ(Json(run).value(QStringLiteral("Total")).toString(), QStringLiteral("11 / 2"));
    EXPECT_EQ(Json(run).value(QStringLiteral("Method")).toString(), QStringLiteral("Chaldean"));

    run = Quillon({QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("4"),
                   QStringLiteral("--json"), QStringLiteral("MARY 12")});
    ASSERT_EQ(run.exitCode, kExitOk);
    QJsonObject json = Json(run);
    EXPECT_EQ(json.value(QStringLiteral("DataText")).toString(), QStringLiteral("MARy 12"));
    EXPECT_EQ(json.value(QStringLiteral("Data")).toString(), QStringLiteral("MARY 12"));
    EXPECT_EQ(json.value(QStringLiteral("VTot")).toString(), QStringLiteral("8"));
    EXPECT_EQ(json.value(QStringLiteral("CTot")).toString(), QStringLiteral("13 / 4"));

    run = Quillon({QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("all"),
                   QStringLiteral("--json"), QStringLiteral("--"), QStringLiteral("yvy y")});
    ASSERT_EQ(run.exitCode, kExitOk);
    json = Json(run);
    EXPECT_EQ(json.value(QStringLiteral("DataText")).toString(), QStringLiteral("yVy y"));
    EXPECT_EQ(json.value(QStringLiteral("V7")).toString(), QStringLiteral("3"));

    run = Quillon({QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("1,5"),
                   QStringLiteral("--json"), QStringLiteral("YVY Y")});
    ASSERT_EQ(run.exitCode, kExitOk);
    EXPECT_EQ(Json(run).value(QStringLiteral("DataText")).toString(), QStringLiteral("yVY y"));
}

TEST(AnalyseReadable, ShowsTheRowsAndTheChart) {
    const Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("MARY"), QStringLiteral("12")});
    ASSERT_EQ(run.exitCode, kExitOk);
    EXPECT_TRUE(run.out.contains(QStringLiteral("|MARY 12|  24 / 6"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("| 1     |  1"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("|4 97   |  20 / 2"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Pythagorean\n")));
}

TEST(CommandLineErrors, UsageErrorsExitWithTwoAndOneLine) {
    const QStringList cases[] = {
        {QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("3"), QStringLiteral("MARY")},
        {QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("9"), QStringLiteral("MARY")},
        {QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("0"), QStringLiteral("YES")},
        {QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("one"), QStringLiteral("YES")},
        {QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("1,,2"), QStringLiteral("YY")},
        {QStringLiteral("analyse"), QStringLiteral("--system"), QStringLiteral("vedic"), QStringLiteral("MARY")},
        {QStringLiteral("analyse"), QStringLiteral("--colour"), QStringLiteral("MARY")},
        {QStringLiteral("analyse")},
        {QStringLiteral("analyze"), QStringLiteral("MARY")},
        // Options of the shared parser that the command does not take.
        {QStringLiteral("analyse"), QStringLiteral("-o"), QStringLiteral("m.rtf"), QStringLiteral("MARY")},
        {QStringLiteral("analyse"), QStringLiteral("--template"), QStringLiteral("m.frf"), QStringLiteral("MARY")},
        {QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--output"), QStringLiteral("m"),
         QStringLiteral("MARY")},
        {QStringLiteral("export"), QStringLiteral("--json"), QStringLiteral("-o"), QStringLiteral("m.rtf"),
         QStringLiteral("MARY")},
        {QStringLiteral("print"), QStringLiteral("--json"), QStringLiteral("MARY")},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome run = Quillon(arguments);
        EXPECT_EQ(run.exitCode, kExitUsage);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    }
}

TEST(CommandLineErrors, AnOptionTheCommandDoesNotTakeIsNamed) {
    const Outcome run = Quillon({QStringLiteral("export"), QStringLiteral("--json"), QStringLiteral("-o"),
                                 QStringLiteral("m.rtf"), QStringLiteral("MARY")});
    EXPECT_EQ(run.err, QStringLiteral("quillon: export has no option \"--json\"; see quillon export --help\n"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("m.rtf")));
}

TEST(CommandLineErrors, VowelYOnAPositionWithoutYNamesIt) {
    const Outcome run =
        Quillon({QStringLiteral("analyse"), QStringLiteral("--vowel-y"), QStringLiteral("2"), QStringLiteral("mary")});
    EXPECT_TRUE(run.err.contains(QStringLiteral("position 2"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("MARY"))) << run.err.toStdString();
}

// The date is read as the date field reads typed text under the regional settings in force.
using AnalyseWithDate = PinnedDates;

TEST_F(AnalyseWithDate, AddsTheDateGroup) {
    const Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("--json"), QStringLiteral("--date"),
                                 QStringLiteral("29/12/1985"), QStringLiteral("MARY 12")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    const QJsonObject json = Json(run);
    EXPECT_EQ(json.value(QStringLiteral("Dates")).toString(), QStringLiteral("29/12/1985"));
    EXPECT_EQ(json.value(QStringLiteral("DayTot")).toString(), QStringLiteral("29 / 11 / 2"));
    EXPECT_EQ(json.value(QStringLiteral("MonthDay")).toString(), QStringLiteral("14 / 5"));
    EXPECT_EQ(json.value(QStringLiteral("DateTotal")).toString(), QStringLiteral("37 / 10 / 1"));
    EXPECT_EQ(json.value(QStringLiteral("NameDate")).toString(), QStringLiteral("61 / 7"));
    EXPECT_EQ(json.value(QStringLiteral("DateDigitSum")), QJsonValue(37));
    EXPECT_EQ(json.value(QStringLiteral("DatesLb")).toString(), QStringLiteral("Date:"));
    EXPECT_EQ(json.value(QStringLiteral("Cd1Lb")).toString(), QStringLiteral("Date Total:"));
    EXPECT_EQ(json.value(QStringLiteral("Cd2Lb")).toString(), QStringLiteral("Month + Day:"));
    EXPECT_EQ(json.value(QStringLiteral("Cd3Lb")).toString(), QStringLiteral("Day:"));
    EXPECT_EQ(json.value(QStringLiteral("Cd4Lb")).toString(), QStringLiteral("Name + Date:"));
}

// The keys are the values of the list given in JSON, those of the date only with a date.
TEST_F(AnalyseWithDate, KeysAreTheJsonValuesOfTheList) {
    for (const bool withDate : {false, true}) {
        QStringList expected;
        for (const ValueName& name : kValueNames) {
            if (name.InJson() && (withDate || name.group == ValueGroup::Always))
                expected << QString::fromLatin1(name.key);
        }
        expected.sort();
        const QStringList date = withDate ? QStringList{"--date", "29/12/1985"} : QStringList{};
        EXPECT_EQ(Json(Quillon(QStringList{"analyse", "--json"} + date + QStringList{"MARY 12"})).keys(), expected)
            << withDate;
    }
}

TEST_F(AnalyseWithDate, TodayAndAnEmptyName) {
    const Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("--json"), QStringLiteral("--date"),
                                 QStringLiteral("/"), QStringLiteral("123")});
    ASSERT_EQ(run.exitCode, kExitOk);
    const QJsonObject json = Json(run);
    EXPECT_EQ(json.value(QStringLiteral("Dates")).toString(), QStringLiteral("07/12/2026"));
    EXPECT_EQ(json.value(QStringLiteral("NameDate")).toString(), QStringLiteral("26 / 8"));

    const Outcome dots = Quillon({QStringLiteral("analyse"), QStringLiteral("--json"), QStringLiteral("--date"),
                                  QStringLiteral("/"), QStringLiteral("...")});
    EXPECT_EQ(Json(dots).value(QStringLiteral("NameDate")).toString(), QString()) << "no name, no name-plus-date";
}

// Every date of the command line and of a list is read strictly, in the order of the regional
// settings: a date the date field would complete or read in another order is refused, as a usage
// error on the command line and as a skipped row in a list.
TEST_F(AnalyseWithDate, EveryDateOfTheCommandLineIsReadStrictly) {
    struct Case {
        const char* locale;
        const char* date;
        const char* wrong;  // nothing: read as 29 December 1985
    };
    const Case cases[] = {
        {"en_GB", "29/12/1985", nullptr},
        {"en_GB", "29 dec 1985", nullptr},
        {"en_GB", "12/29/1985", "there is no month 29"},
        {"en_GB", "32/12/1985", "there is no day 32"},
        {"en_GB", "1985-12-29", "there is no day 1985"},
        {"en_GB", "00/00/0000", "there is no day 0"},
        {"en_GB", "29/12", "the year is missing"},
        {"en_GB", "29/12/1985/7", "there is more after the year"},
        {"en_GB", "", "no date given"},
        {"en_US", "12/29/1985", nullptr},
        {"en_US", "29/12/1985", "there is no month 29"},
        {"en_US", "2/30/1985", "30 February 1985 is not on the calendar"},
        {"en_US", "12/29/985", "the year 985 is outside 1600 to 3999"},
    };
    QTemporaryDir dir;
    const QString names = dir.filePath(QStringLiteral("names.txt"));
    const QString people = dir.filePath(QStringLiteral("people.csv"));
    const QString rows = dir.filePath(QStringLiteral("rows.csv"));
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        const QString date = QString::fromLatin1(c.date);
        const std::string name = std::string(c.locale) + " " + c.date;
        const QString message = QStringLiteral("Invalid date \"%1\": %2").arg(date, QLatin1String(c.wrong));
        for (const QStringList& arguments :
             {QStringList{QStringLiteral("analyse"), QStringLiteral("--json"), QStringLiteral("--date"), date,
                          QStringLiteral("MARY")},
              QStringList{QStringLiteral("compare"), QStringLiteral("--date"), QStringLiteral("/"),
                          QStringLiteral("--date"), date, QStringLiteral("JOHN"), QStringLiteral("MARY")},
              QStringList{QStringLiteral("batch"), QStringLiteral("--date"), date, QStringLiteral("-o"), rows,
                          names}}) {
            QFile(names).remove();
            QFile list(names);
            ASSERT_TRUE(list.open(QIODevice::WriteOnly));
            list.write("MARY\n");
            list.close();
            const Outcome run = Quillon(arguments);
            EXPECT_EQ(run.exitCode, c.wrong ? kExitUsage : kExitOk) << arguments[0].toStdString() << " " << name;
            EXPECT_EQ(run.err, c.wrong ? "quillon: " + message + "\n" : QString())
                << arguments[0].toStdString() << " " << name;
        }
        if (!*c.date) continue;  // an empty cell is a row without a date
        QFile csv(people);
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("Name,Born\nMARY," + QByteArray(c.date) + "\n");
        csv.close();
        const Outcome batch =
            Quillon({QStringLiteral("batch"), QStringLiteral("--column"), QStringLiteral("Name"),
                     QStringLiteral("--date-column"), QStringLiteral("Born"), QStringLiteral("-o"), rows, people});
        EXPECT_EQ(batch.exitCode, c.wrong ? kExitFailure : kExitOk) << name;
        EXPECT_EQ(batch.err,
                  c.wrong ? "quillon: line 2: " + message + "; row skipped\nquillon: 1 of 1 rows skipped\n" : QString())
            << name;
        QFile written(rows);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll().contains(",37 / 10 / 1,"), !c.wrong) << name;
    }
}

TEST(TemplateCommands, SaveThenShow) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("print.frf"));
    Outcome run = Quillon(
        {QStringLiteral("template"), QStringLiteral("save"), QStringLiteral("print"), QStringLiteral("-o"), file});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)), 25) << "the stream starts at its version byte";

    run = Quillon({QStringLiteral("template"), QStringLiteral("show"), file});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    const QJsonObject json = Json(run);
    EXPECT_EQ(json.value("header").toObject().value("version").toInt(), 25);
    const QJsonArray objects = json.value("pages").toArray().at(0).toObject().value("objects").toArray();
    ASSERT_EQ(objects.size(), 54);
    EXPECT_EQ(objects.at(0).toObject().value("bandType").toString(), QStringLiteral("Page footer"));
    EXPECT_EQ(objects.at(34).toObject().value("memo").toArray().at(0).toString(),
              QStringLiteral("Printed:  [DATE] [TIME]"));
    EXPECT_EQ(json.value("info").toObject().value("createdText").toString(), QStringLiteral("2004-12-22T15:47:52"));
    EXPECT_EQ(json.value("variables").toArray().size(), 51);

    // A prepared object is written with the same keys as its template object, less the design
    // fields its printing form does not carry.
    run = Quillon({QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("MARY")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    const QJsonObject prepared =
        Json(run).value("pages").toArray().at(0).toObject().value("objects").toArray().at(0).toObject();
    const QJsonObject designed = objects.at(1).toObject();
    EXPECT_EQ(prepared.value("name"), designed.value("name"));
    EXPECT_EQ(prepared.value("left"), designed.value("left"));
    for (const QString& key : prepared.keys()) EXPECT_TRUE(designed.contains(key)) << key.toStdString();
    for (const char* designOnly : {"format", "formatString", "script", "visible", "highlight"}) {
        EXPECT_FALSE(prepared.contains(QLatin1String(designOnly))) << designOnly;
    }

    run = Quillon(
        {QStringLiteral("template"), QStringLiteral("save"), QStringLiteral("export"), QStringLiteral("-o"), file});
    ASSERT_EQ(run.exitCode, kExitOk);
    run = Quillon({QStringLiteral("template"), QStringLiteral("show"), file});
    EXPECT_EQ(Json(run).value("pages").toArray().at(0).toObject().value("objects").toArray().size(), 36);
}

TEST(TemplateCommands, ReportsTakeATemplateOfTheirOwn) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("export.frf"));
    ASSERT_EQ(Quillon({QStringLiteral("template"), QStringLiteral("save"), QStringLiteral("export"),
                       QStringLiteral("-o"), file})
                  .exitCode,
              kExitOk);
    // The export template prepared as the print report: its memos, the print report's name.
    Outcome run = Quillon({QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--template"), file,
                           QStringLiteral("--json"), QStringLiteral("MARY")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    const QJsonArray objects = Json(run).value("pages").toArray().at(0).toObject().value("objects").toArray();
    EXPECT_EQ(objects.size(), 36);
    EXPECT_EQ(Json(run).value("report").toString(), QStringLiteral("frReport1"));

    run = Quillon({QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--template"),
                   dir.filePath(QStringLiteral("missing.frf")), QStringLiteral("MARY")});
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("quillon: cannot read "))) << run.err.toStdString();
    QFile bad(dir.filePath(QStringLiteral("bad.frf")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\x1a");
    bad.close();
    run = Quillon({QStringLiteral("export"), QStringLiteral("--template"), bad.fileName(), QStringLiteral("-o"),
                   dir.filePath(QStringLiteral("m.rtf")), QStringLiteral("MARY")});
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_EQ(run.err, QStringLiteral("quillon: Unsupported FRF format\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("m.rtf"))));
}

TEST(TemplateCommands, HostileAndMissingFilesFail) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bad.frf"));
    QFile bad(file);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    // Version 25, two flag words, a printer name of two bytes without its trailing byte.
    bad.write(
        QByteArray("\x19\x00\x00\x00\x00\x02\x00"
                   "ab",
                   9));
    bad.close();
    Outcome run = Quillon({QStringLiteral("template"), QStringLiteral("show"), file});
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_EQ(run.err, QStringLiteral("quillon: Unsupported FRF format\n"));

    run = Quillon({QStringLiteral("template"), QStringLiteral("show"), dir.filePath(QStringLiteral("none.frf"))});
    EXPECT_EQ(run.exitCode, kExitFailure);
    run = Quillon(
        {QStringLiteral("template"), QStringLiteral("save"), QStringLiteral("summary"), QStringLiteral("-o"), file});
    EXPECT_EQ(run.exitCode, kExitUsage);
    run = Quillon({QStringLiteral("template"), QStringLiteral("save"), QStringLiteral("print"), QStringLiteral("-o"),
                   dir.filePath(QStringLiteral("no/such/folder/x.frf"))});
    EXPECT_EQ(run.exitCode, kExitFailure);
    run = Quillon({QStringLiteral("template")});
    EXPECT_EQ(run.exitCode, kExitUsage);
}

// Whatever the file is, one byte more than a template may have is read at most, and an empty file
// is no template; template show and --template read files alike.
TEST(TemplateCommands, EndlessDevicesLongPipesAndEmptyFilesAreNoTemplates) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.frf"));
    const QString empty = dir.filePath(QStringLiteral("empty.frf"));
    const QString rtf = dir.filePath(QStringLiteral("m.rtf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile(empty).open(QIODevice::WriteOnly));
    // The pipe's writer is told so by EPIPE once the reader has had enough.
    struct sigaction ignore {
    }, before{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &before);
    const std::pair<QString, QString> files[] = {
        {QStringLiteral("/dev/zero"), QStringLiteral("/dev/zero is too large for a template")},
        {pipe, pipe + QStringLiteral(" is too large for a template")},
        {empty, empty + QStringLiteral(" is empty, not a template")},
    };
    for (const auto& [file, message] : files) {
        for (const QStringList& command : {QStringList{QStringLiteral("template"), QStringLiteral("show"), file},
                                           QStringList{QStringLiteral("export"), QStringLiteral("--template"), file,
                                                       QStringLiteral("-o"), rtf, QStringLiteral("MARY")}}) {
            std::thread writer;
            if (file == pipe) {
                writer = std::thread([&pipe] {
                    const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY);
                    const std::vector<char> block(1 << 20);
                    for (int i = 0; i < 65 && ::write(fd, block.data(), block.size()) > 0; ++i) {}
                    ::close(fd);
                });
            }
            const Outcome run = Quillon(command);
            if (writer.joinable()) writer.join();
            EXPECT_EQ(run.exitCode, kExitFailure) << command.join(' ').toStdString();
            EXPECT_EQ(run.err, QStringLiteral("quillon: ") + message + QLatin1Char('\n'));
            EXPECT_FALSE(QFile::exists(rtf));
        }
    }
    ::sigaction(SIGPIPE, &before, nullptr);
}

TEST(TemplateCommands, ADamagedGeometryIsRefusedBeforeAnythingIsWritten) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("flipped.frf"));
    const QString rtf = dir.filePath(QStringLiteral("m.rtf"));
    ReportTemplate report;
    ASSERT_TRUE(ReadTemplate(*UnwrapReportForm(ExportReportForm()), report, 0).ok);
    TfrView& memo = *report.Pages[0].Objects[0];
    memo.Top = 1744830612;
    const auto stream = WriteTemplate(report, std::string(kVirtualPrinterMarker), 0);
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(stream.data()), static_cast<qint64>(stream.size()));
    out.close();
    const QString message = QStringLiteral(
                                "quillon: The template is damaged: page 1, memo \"%1\": top 1744830612 lies "
                                "far outside any page\n")
                                .arg(QString::fromStdString(memo.Name));
    const QString option = QStringLiteral("--template"), name = QStringLiteral("MARY");
    const QStringList commands[] = {
        {QStringLiteral("template"), QStringLiteral("show"), file},
        {QStringLiteral("prepare"), QStringLiteral("export"), option, file, name},
        {QStringLiteral("export"), option, file, QStringLiteral("-o"), rtf, name},
    };
    for (const QStringList& command : commands) {
        const Outcome run = Quillon(command);
        EXPECT_EQ(run.exitCode, kExitFailure) << command.join(' ').toStdString();
        EXPECT_EQ(run.err, message);
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(rtf));
}

// A template that holds too much is refused as it is read; one whose names multiply its text past
// what the pages may hold, as it is laid out. Either ends with exit 1 and the message, and nothing
// is written.
TEST(TemplateCommands, ATemplateTooLargeIsRefusedBeforeAnythingIsWritten) {
    QTemporaryDir dir;
    auto write = [&dir](const char* name, const ReportTemplate& report) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        const auto stream = WriteTemplate(report, std::string(kVirtualPrinterMarker), 0);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(reinterpret_cast<const char*>(stream.data()), static_cast<qint64>(stream.size()));
        return file;
    };
    ReportTemplate report;
    ASSERT_TRUE(ReadTemplate(*UnwrapReportForm(ExportReportForm()), report, 0).ok);
    TfrView& memo = *report.Pages[0].Objects[0];
    memo.Memo.assign(10001, "x");
    const QString tooLarge = write("large.frf", report);
    // 101 lines that each stand for a memo of 10,000 lines: more than a million lines.
    memo.Memo.assign(10000, "x");
    TfrView& copies = *report.Pages[0].Objects[1];
    copies.Memo.assign(101, "[" + memo.Name + ".Memo]");
    const QString multiplying = write("multiplying.frf", report);

    const QString rtf = dir.filePath(QStringLiteral("m.rtf")), pdf = dir.filePath(QStringLiteral("m.pdf"));
    const QString option = QStringLiteral("--template"), name = QStringLiteral("MARY");
    struct Case {
        QString file;
        QString message;
        bool shown;  // template show reads it without laying it out
    };
    const Case cases[] = {
        {tooLarge,
         QStringLiteral("The template is too large: page 1, memo \"%1\" holds 10001 lines, at most 10000 are laid out")
             .arg(QString::fromStdString(memo.Name)),
         false},
        {multiplying,
         QStringLiteral("The template is too large to lay out: its pages would hold more than 1000000 lines"), true},
    };
    for (const Case& c : cases) {
        const QStringList commands[] = {
            {QStringLiteral("template"), QStringLiteral("show"), c.file},
            {QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--json"), option, c.file, name},
            {QStringLiteral("export"), option, c.file, QStringLiteral("-o"), rtf, name},
            {QStringLiteral("print"), QStringLiteral("--pdf"), pdf, option, c.file, name},
        };
        for (const QStringList& command : commands) {
            Outcome run;
            if (command[0] == QLatin1String("print")) {
                // In a process of its own: Qt keeps the printers it first finds for the whole
                // process, and the printing tests start a spooler of their own later.
                QProcess process;
                process.start(QStringLiteral(QUILLON_PROGRAM), command);
                ASSERT_TRUE(process.waitForFinished(60000));
                run = {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                       QString::fromUtf8(process.readAllStandardError())};
            } else {
                run = Quillon(command);
            }
            if (c.shown && command[0] == QLatin1String("template")) {
                EXPECT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
                continue;
            }
            EXPECT_EQ(run.exitCode, kExitFailure) << command.join(' ').toStdString();
            EXPECT_EQ(run.err, QStringLiteral("quillon: ") + c.message + QLatin1Char('\n'));
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
    EXPECT_FALSE(QFile::exists(rtf));
    EXPECT_FALSE(QFile::exists(pdf));
}

// The pages are written one at a time, in the layout QJsonDocument gives the whole document.
TEST(TemplateCommands, PreparedPagesAreWrittenAsTheWholeDocumentWouldBe) {
    QTemporaryDir dir;
    ReportTemplate report;
    ASSERT_TRUE(ReadTemplate(*UnwrapReportForm(ExportReportForm()), report, 0).ok);
    report.Pages[0].Objects[0]->Memo.assign(2000, "x");
    report.Pages[0].Objects[0]->Top = 1000;  // on every page that the band below starts
    auto band = std::make_unique<TfrBandView>();
    band->FrameTyp = static_cast<std::uint16_t>(BandType::ReportTitle);
    band->Top = 1000;
    band->Height = 20;
    band->Flags = kBandStretched;
    report.Pages[0].Objects.push_back(std::move(band));
    const QString file = dir.filePath(QStringLiteral("pages.frf"));
    const auto stream = WriteTemplate(report, std::string(kVirtualPrinterMarker), 0);
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(stream.data()), static_cast<qint64>(stream.size()));
    out.close();
    for (const QStringList& command :
         {QStringList{QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--json"),
                      QStringLiteral("MARY")},
          QStringList{QStringLiteral("prepare"), QStringLiteral("export"), QStringLiteral("--json"),
                      QStringLiteral("--template"), file, QStringLiteral("MARY")}}) {
        const Outcome run = Quillon(command);
        ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
        const QJsonDocument whole = QJsonDocument::fromJson(run.out.toUtf8());
        EXPECT_GT(whole.object().value("pages").toArray().size(), command.size() > 4 ? 2 : 0);
        EXPECT_EQ(run.out, QString::fromUtf8(whole.toJson(QJsonDocument::Indented)));
    }
}

TEST_F(AnalyseWithDate, PrepareGivesThePagesAsJson) {
    Outcome run = Quillon({QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--json"),
                           QStringLiteral("--date"), QStringLiteral("29/12/1985"), QStringLiteral("MARY 12")});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    QJsonObject json = Json(run);
    EXPECT_EQ(json.value("report").toString(), QStringLiteral("frReport1"));
    QJsonArray pages = json.value("pages").toArray();
    ASSERT_EQ(pages.size(), 1);
    QJsonObject page = pages.at(0).toObject();
    EXPECT_EQ(page.value("metrics").toObject().value("pageWidth").toInt(), 779);
    EXPECT_EQ(page.value("margins").toArray().at(0).toInt(), 91);
    QJsonArray objects = page.value("objects").toArray();
    ASSERT_EQ(objects.size(), 53);
    auto textOf = [&objects](const char* name) {
        for (const QJsonValue& object : objects) {
            if (object.toObject().value("name").toString() == QLatin1String(name))
                return object.toObject().value("memo").toArray();
        }
        return QJsonArray();
    };
    EXPECT_EQ(textOf("Memo1").at(0).toString(), QStringLiteral("MARY 12"));
    EXPECT_EQ(textOf("Memo4").at(0).toString(), QStringLiteral("Pythagorean System"));
    EXPECT_EQ(textOf("Memo50").at(3).toString(), QStringLiteral("61 / 7"));
    EXPECT_EQ(textOf("Memo49").at(0).toString(), QStringLiteral("Date Total:"));
    EXPECT_TRUE(textOf("Memo42").at(0).toString().startsWith(QStringLiteral("Printed:  07/12/2026 ")));
    EXPECT_EQ(objects.at(0).toObject().value("font").toObject().value("size").toInt(), 18);

    run = Quillon({QStringLiteral("prepare"), QStringLiteral("export"), QStringLiteral("MARY 12")});
    ASSERT_EQ(run.exitCode, kExitOk);
    objects = Json(run).value("pages").toArray().at(0).toObject().value("objects").toArray();
    ASSERT_EQ(objects.size(), 36);
    EXPECT_EQ(textOf("Memo51").at(0).toString(), QString()) << "no date: the date block is blank";

    run = Quillon({QStringLiteral("prepare"), QStringLiteral("summary"), QStringLiteral("MARY")});
    EXPECT_EQ(run.exitCode, kExitUsage);
    run = Quillon({QStringLiteral("prepare"), QStringLiteral("print"), QStringLiteral("--date"),
                   QStringLiteral("31/02/2000"), QStringLiteral("MARY")});
    EXPECT_EQ(run.exitCode, kExitUsage);
}

TEST(CommandLineHelp, HelpAndVersion) {
    Outcome run = Quillon({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, kExitOk);
    EXPECT_TRUE(run.out.contains(QStringLiteral("analyse")));
    run = Quillon({QStringLiteral("--version")});
    EXPECT_EQ(run.exitCode, kExitOk);
    EXPECT_EQ(run.out, QStringLiteral("Quillon Ver. 3.41\n"));

    // Every command answers --help with its own usage.
    for (const char* command : {"analyse", "prepare", "export", "template", "print", "printers"}) {
        for (const char* help : {"--help", "-h"}) {
            run = Quillon({QString::fromLatin1(command), QString::fromLatin1(help)});
            EXPECT_EQ(run.exitCode, kExitOk) << command << " " << help;
            EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: quillon %1").arg(QLatin1String(command))))
                << run.out.toStdString();
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        }
    }
    // A synopsis of two lines keeps its second line under the options.
    run = Quillon({QStringLiteral("analyse"), QStringLiteral("--help")});
    EXPECT_TRUE(
        run.out.section(QLatin1Char('\n'), 1, 1).startsWith(QString(23, QLatin1Char(' ')) + QStringLiteral("[--json]")))
        << run.out.toStdString();
    run =
        Quillon({QStringLiteral("analyse"), QStringLiteral("--json"), QStringLiteral("--"), QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, kExitOk);
    EXPECT_EQ(Json(run).value("Data").toString(), QStringLiteral("--HELP")) << "after -- it is the text";
}

TEST(CommandLineOutput, ControlCharactersOfTheDataAreShownEscaped) {
    Outcome run = Quillon({QStringLiteral("analyse"), QStringLiteral("mary\x1b[31mred\nline")});
    ASSERT_EQ(run.exitCode, kExitOk);
    EXPECT_FALSE(run.out.contains(QChar(0x1B))) << "no escape sequence reaches the terminal";
    EXPECT_TRUE(run.out.contains(QStringLiteral("|MARY\\x1B[31MRED\\x0ALINE|"))) << run.out.toStdString();
    EXPECT_EQ(run.out.count(QLatin1Char('\n')),
              Quillon({QStringLiteral("analyse"), QStringLiteral("MARY")}).out.count(QLatin1Char('\n')))
        << "a newline in the data breaks no line";

    run = Quillon({QStringLiteral("unknown\x1b]0;title\x07")});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_FALSE(run.err.contains(QChar(0x1B)));
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("quillon: unknown command \"unknown\\x1B]0;title\\x07\"")))
        << run.err.toStdString();

    run = Quillon({QStringLiteral("analyse"), QStringLiteral("--json"),
                   QStringLiteral("a\x1b"
                                  "z")});
    EXPECT_TRUE(run.out.contains(QStringLiteral("\\u001b"))) << "JSON escapes them its own way";
}

TEST(CommandLineOutput, AScreenshotWithADateThatCannotBeReadFails) {
    QTemporaryDir dir;
    QString err;
    QTextStream errors(&err);
    EXPECT_EQ(RunScreenshot({QStringLiteral("quillon"), QStringLiteral("--screenshot"), dir.path(),
                             QStringLiteral("--date"), QStringLiteral("31/02/2020")},
                            errors),
              kExitUsage);
    EXPECT_EQ(err, QStringLiteral("quillon: Invalid date \"31/02/2020\": 31 February 2020 is not on the calendar\n"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "no image is written";
}

}  // namespace
}  // namespace quillon
