#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <gtest/gtest.h>

#include "batch/Csv.h"
#include "cli/CommandLine.h"
#include "numerology/CoreNumbers.h"
#include "platform/Regional.h"
#include "support/CommandOutcome.h"
#include "support/NameGenerator.h"
#include "support/PinnedDates.h"

namespace quillon {
namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Pinned dates, and a folder of its own for each test's files.
class BatchCommand : public PinnedDates {
protected:
    void SetUp() override {
        PinnedDates::SetUp();
        ASSERT_TRUE(dir_.isValid());
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

// The chain whose last digit a batch digit column gives.
QString ChainOfDigit(const QString& key) {
    if (key == QLatin1String("VowelDigit")) return QStringLiteral("VTot");
    if (key == QLatin1String("ConsonantDigit")) return QStringLiteral("CTot");
    if (key == QLatin1String("TotalDigit")) return QStringLiteral("Total");
    if (key == QLatin1String("DateDigit")) return QStringLiteral("DateTotal");
    if (key == QLatin1String("NameDateDigit")) return QStringLiteral("NameDate");
    return {};
}

// Every field of a batch row equals the value "analyse --json" gives for the same name, with the
// same options; the digit columns equal the last digit of their chains.
TEST_F(BatchCommand, EveryFieldEqualsAnalyseJson) {
    constexpr int kNames = 10000;
    NameGenerator generator(2024);
    QByteArray input;
    std::vector<QString> names;
    // Accented names and Ys among the generated ones, for the runs that fold accents.
    const char* const accented[] = {"JOSÉ", "Zoë", "ÆLFRED", "ýves", "ŸVONNE Ÿ", "straße", "Ångström", "Ðórr ý"};
    for (int i = 0; i < kNames; ++i) {
        const std::string name = i % 50 == 0 ? accented[i / 50 % std::size(accented)] : generator.Next();
        names.push_back(QString::fromStdString(name));
        input += QByteArray::fromStdString(name) + '\n';
    }
    Write(Path(QStringLiteral("names.txt")), input);

    const QStringList variants[] = {
        {QStringLiteral("--system"), QStringLiteral("pythagorean")},
        {QStringLiteral("--system"), QStringLiteral("chaldean")},
        {QStringLiteral("--system"), QStringLiteral("chaldean"), QStringLiteral("--vowel-y"), QStringLiteral("all"),
         QStringLiteral("--date"), QStringLiteral("29/12/1985")},
        {QStringLiteral("--core"), QStringLiteral("--date"), QStringLiteral("29/12/1985")},
        {QStringLiteral("--core"), QStringLiteral("--fold-accents"), QStringLiteral("--vowel-y"),
         QStringLiteral("all")},
        {QStringLiteral("--core"), QStringLiteral("--fold-accents"), QStringLiteral("--system"),
         QStringLiteral("chaldean"), QStringLiteral("--date"), QStringLiteral("1/1/2000")},
    };
    for (const QStringList& options : variants) {
        const QString output = Path(QStringLiteral("out.jsonl"));
        const Outcome batch =
            Quillon(QStringList{QStringLiteral("batch"), Path(QStringLiteral("names.txt")), QStringLiteral("-o"),
                                output, QStringLiteral("--format"), QStringLiteral("jsonl"),
                                QStringLiteral("--threads"), QStringLiteral("3")} +
                    options);
        ASSERT_EQ(batch.exitCode, kExitOk) << batch.err.toStdString();
        const QList<QByteArray> lines = Read(output).split('\n');
        ASSERT_EQ(lines.size(), kNames + 1) << "one row per name, and the final line end";

        int compared = 0;
        for (int i = 0; i < kNames; ++i) {
            const QJsonObject row = QJsonDocument::fromJson(lines[i]).object();
            QStringList analyseArguments{QStringLiteral("analyse"), QStringLiteral("--json")};
            analyseArguments += options;
            analyseArguments.removeAll(QStringLiteral("--core"));  // analyse --json always has them
            analyseArguments << QStringLiteral("--") << names[static_cast<std::size_t>(i)];
            const Outcome analyse = Quillon(analyseArguments);
            ASSERT_EQ(analyse.exitCode, kExitOk) << analyse.err.toStdString();
            const QJsonObject json = QJsonDocument::fromJson(analyse.out.toUtf8()).object();

            const int core = options.contains(QStringLiteral("--core")) ? 1 : 0;
            ASSERT_EQ(row.size(), (options.contains(QStringLiteral("--date")) ? 45 : 38) + core)
                << lines[i].toStdString();
            for (auto field = row.begin(); field != row.end(); ++field) {
                const QString chain = ChainOfDigit(field.key());
                if (chain.isEmpty()) {
                    ASSERT_TRUE(json.contains(field.key())) << field.key().toStdString();
                    ASSERT_EQ(field.value(), json.value(field.key()))
                        << "name " << i << " [" << names[static_cast<std::size_t>(i)].toStdString() << "] key "
                        << field.key().toStdString();
                } else {
                    const QString text = json.value(chain).toString();
                    const QJsonValue digit =
                        text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text.back().digitValue());
                    ASSERT_EQ(field.value(), digit) << "name " << i << " key " << field.key().toStdString();
                }
                ++compared;
            }
        }
        EXPECT_GE(compared, kNames * 38);

        // The CSV rows hold the same values, under the same keys in their header.
        const QString csvOutput = Path(QStringLiteral("out.csv"));
        const Outcome csv = Quillon(
            QStringList{QStringLiteral("batch"), Path(QStringLiteral("names.txt")), QStringLiteral("-o"), csvOutput} +
            options);
        ASSERT_EQ(csv.exitCode, kExitOk) << csv.err.toStdString();
        const std::string text = Read(csvOutput).toStdString();
        std::vector<std::string> header;
        std::vector<std::string> fields;
        std::size_t count = 0;
        batch::CsvRecord record = batch::ReadCsvRecord(text, 0, header, count);
        header.resize(count);
        for (int i = 0; i < kNames; ++i) {
            record = batch::ReadCsvRecord(text, record.end, fields, count);
            ASSERT_EQ(count, header.size());
            const QJsonObject row = QJsonDocument::fromJson(lines[i]).object();
            for (std::size_t column = 0; column < count; ++column) {
                // A core number's two columns are the digit and the master number of its object.
                const QString key = QString::fromStdString(header[column]);
                const bool master = key.endsWith(QLatin1String("_master"));
                const QString coreKey = master ? key.chopped(7) : key;
                const QJsonObject number = row.value(QStringLiteral("core")).toObject().value(coreKey).toObject();
                const QJsonValue value = CoreNameFromKey(coreKey.toStdString())
                                             ? number.value(master ? QStringLiteral("master") : QStringLiteral("digit"))
                                             : row.value(key);
                const QString expected = value.isDouble() ? QString::number(value.toInt()) : value.toString();
                ASSERT_EQ(QString::fromStdString(fields[column]), expected)
                    << "row " << i << " column " << header[column];
            }
        }
    }
}

TEST_F(BatchCommand, UsageErrorsExitWithTwoAndOneLine) {
    Write(Path(QStringLiteral("names.txt")), "MARY\n");
    const QString names = Path(QStringLiteral("names.txt"));
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{names, QStringLiteral("--format"), QStringLiteral("xml")},
         QStringLiteral("--format takes csv, tsv or jsonl, not \"xml\"")},
        {{names, QStringLiteral("--column"), QStringLiteral("0")},
         QStringLiteral("--column: columns are counted from 1")},
        {{names, QStringLiteral("--date-column"), QStringLiteral("2")}, QStringLiteral("--date-column needs --column")},
        {{names, QStringLiteral("--column"), QStringLiteral("1"), QStringLiteral("--date-column"), QStringLiteral("2"),
          QStringLiteral("--date"), QStringLiteral("1/1/2000")},
         QStringLiteral("give --date or --date-column, not both")},
        {{names, QStringLiteral("--date"), QStringLiteral("31/02/2000")},
         QStringLiteral("Invalid date \"31/02/2000\": 31 February 2000 is not on the calendar")},
        {{names, QStringLiteral("--where"), QStringLiteral("soul=3")},
         QStringLiteral(
             "--where takes KEY=DIGIT with KEY vowels, consonants, total, date, namedate or a core number "
             "(expression, soulurge, personality, lifepath, birthday, maturity; also =11, =22 or =33): \"soul=3\"")},
        {{names, QStringLiteral("--where"), QStringLiteral("total=12")},
         QStringLiteral(
             "--where takes KEY=DIGIT with KEY vowels, consonants, total, date, namedate or a core number "
             "(expression, soulurge, personality, lifepath, birthday, maturity; also =11, =22 or =33): \"total=12\"")},
        {{names, QStringLiteral("--where"), QStringLiteral("date=1")},
         QStringLiteral("--where date=1 needs --date or --date-column")},
        {{names, QStringLiteral("--where"), QStringLiteral("birthday=11")},
         QStringLiteral("--where birthday=11 needs --date or --date-column")},
        {{names, QStringLiteral("--where"), QStringLiteral("expression=12")},
         QStringLiteral("--where takes KEY=DIGIT with KEY vowels, consonants, total, date, namedate or a core number "
                        "(expression, soulurge, personality, lifepath, birthday, maturity; also =11, =22 or =33): "
                        "\"expression=12\"")},
        {{names, QStringLiteral("--threads"), QStringLiteral("0")},
         QStringLiteral("--threads takes a number from 1 to 256, not \"0\"")},
        {{names, QStringLiteral("--vowel-y"), QStringLiteral("3")},
         QStringLiteral("--vowel-y takes none or all, not \"3\"")},
        {{names, QStringLiteral("--system"), QStringLiteral("latin")},
         QStringLiteral("--system takes pythagorean or chaldean, not \"latin\"")},
        {{names, names}, QStringLiteral("batch reads one INPUT, not 2")},
        {{Path(QStringLiteral("missing.txt"))},
         QStringLiteral("cannot read %1: No such file or directory").arg(Path(QStringLiteral("missing.txt")))},
        {{dir_.path()}, QStringLiteral("cannot read %1: Is a directory").arg(dir_.path())},
    };
    for (const Case& c : cases) {
        const Outcome run = Quillon(QStringList{QStringLiteral("batch")} + c.arguments +
                                    QStringList{QStringLiteral("-o"), Path(QStringLiteral("out.csv"))});
        EXPECT_EQ(run.exitCode, kExitUsage) << c.message.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("quillon: ") + c.message + QLatin1Char('\n'));
        EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out.csv")))) << c.message.toStdString();
    }

    const Outcome help = Quillon({QStringLiteral("batch"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, kExitOk);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: quillon batch [INPUT]")));
    EXPECT_TRUE(Quillon({QStringLiteral("--help")}).out.contains(QStringLiteral("  batch [INPUT]")));
}

TEST_F(BatchCommand, FailedRunsLeaveNothingAndKeepThePreviousOutput) {
    Write(Path(QStringLiteral("people.csv")), "First,Born\nMARY,29/12/1985\n");
    const QString people = Path(QStringLiteral("people.csv"));

    // An output in a folder that does not exist.
    const QString missing = Path(QStringLiteral("missing/out.csv"));
    Outcome run = Quillon({QStringLiteral("batch"), people, QStringLiteral("--column"), QStringLiteral("1"),
                           QStringLiteral("-o"), missing});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_EQ(run.err, QStringLiteral("quillon: Cannot create file %1: No such file or directory\n").arg(missing));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("people.csv")});

    // A run that fails after the output was opened: the header lacks the named column.
    const QString output = Path(QStringLiteral("out.csv"));
    Write(output, "previous results\n");
    run = Quillon({QStringLiteral("batch"), people, QStringLiteral("--column"), QStringLiteral("Name"),
                   QStringLiteral("-o"), output});
    EXPECT_EQ(run.exitCode, kExitUsage);
    EXPECT_EQ(run.err, QStringLiteral("quillon: no column \"Name\" in the header\n"));
    EXPECT_EQ(Read(output), "previous results\n");
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("out.csv"), QStringLiteral("people.csv")}));

    // The input as the output, by its name or through a link, would lose the list.
    const QString list = Path(QStringLiteral("n.txt"));
    Write(list, "MARY\nJOHN\n");
    QFile::link(list, Path(QStringLiteral("link.txt")));
    for (const QString& target : {list, Path(QStringLiteral("link.txt"))}) {
        run = Quillon({QStringLiteral("batch"), list, QStringLiteral("-o"), target});
        EXPECT_EQ(run.exitCode, kExitUsage);
        EXPECT_EQ(run.err, QStringLiteral("quillon: the output file is the input file\n"));
        EXPECT_EQ(Read(list), "MARY\nJOHN\n");
    }
    QFile::remove(Path(QStringLiteral("link.txt")));
    QFile::remove(list);

    // Skipped rows do not fail the run: the rows that could be analysed replace the old output.
    Write(people, "First,Born\nMARY,29/12/1985\nJOHN,31/02/2000\n");
    run = Quillon({QStringLiteral("batch"), people, QStringLiteral("--column"), QStringLiteral("First"),
                   QStringLiteral("--date-column"), QStringLiteral("Born"), QStringLiteral("--no-header"),
                   QStringLiteral("-o"), output});
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_EQ(run.err, QStringLiteral("quillon: line 3: Invalid date \"31/02/2000\": 31 February 2000 is not on the "
                                      "calendar; row skipped\n"
                                      "quillon: 1 of 2 rows skipped\n"));
    EXPECT_TRUE(Read(output).startsWith("MARY,Pythagorean,1,20,21,"));
    EXPECT_TRUE(Read(output).endsWith(",29/12/1985,37 / 10 / 1,14 / 5,29 / 11 / 2,58 / 13 / 4,1,4\n"));
}

TEST_F(BatchCommand, SignalsEndARunWithoutItsTemporaryFileUnlessIgnored) {
    // The run waits for its input on a pipe while its output is a temporary file beside out.csv.
    const QString fifo = Path(QStringLiteral("names"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString output = Path(QStringLiteral("out.csv"));
    Write(output, "previous results\n");
    const auto entries = [this] {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    QProcess run;
    // As nohup starts it: hang-ups ignored.
    run.start(QStringLiteral("sh"),
              {QStringLiteral("-c"), QStringLiteral("trap '' HUP; exec \"$0\" batch \"$1\" -o \"$2\""),
               QStringLiteral(QUILLON_PROGRAM), fifo, output});
    ASSERT_TRUE(run.waitForStarted());
    QFile names(fifo);
    ASSERT_TRUE(names.open(QIODevice::WriteOnly));  // waits for the run to open its end
    names.write("MARY\n");
    names.flush();
    for (int tries = 0; tries < 100 && entries().size() < 3; ++tries) QThread::msleep(20);
    ASSERT_EQ(entries().size(), 3) << "names, out.csv and the temporary file";
    ::kill(static_cast<pid_t>(run.processId()), SIGHUP);
    EXPECT_FALSE(run.waitForFinished(300)) << "a hang-up ignored at start stays ignored";
    ::kill(static_cast<pid_t>(run.processId()), SIGQUIT);
    ASSERT_TRUE(run.waitForFinished(5000));
    EXPECT_EQ(run.exitStatus(), QProcess::CrashExit) << "the caller sees the signal";
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("names"), QStringLiteral("out.csv")}));
    EXPECT_EQ(Read(output), "previous results\n");
}

}  // namespace
}  // namespace quillon
