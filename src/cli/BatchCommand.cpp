#include "cli/BatchCommand.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <chrono>
#include <climits>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/AnalyseCommand.h"
#include "cli/CommandLine.h"
#include "batch/BatchRun.h"
#include "batch/InputFile.h"
#include "common/SafeSave.h"
#include "batch/Progress.h"
#include "platform/Regional.h"

namespace quillon {
namespace {

using batch::BatchOptions;

constexpr int kMaxThreads = 256;

QString BatchUsage() {
    return QStringLiteral(
        "Usage: quillon batch [INPUT] [-o OUTPUT] [OPTIONS]\n"
        "\n"
        "Analyses every name of INPUT (a file; - or nothing: standard input) as the window\n"
        "would after pasting it, and writes one row per name, in input order: the name as\n"
        "analysed, the system, the three sums, their chains and final digits, the chart counts\n"
        "and, with a date, the date values.\n"
        "\n"
        "Input (one name per line, or CSV with --column):\n"
        "  --column NAME|N       the CSV column of the names, by header text or 1-based number;\n"
        "                        a column named by its header text makes the first row the header\n"
        "  --date-column NAME|N  the column of each row's date, typed in the short date format\n"
        "                        of your regional settings (LANG, LC_TIME); an empty cell: no date\n"
        "  --date DATE           one date for every row\n"
        "\n"
        "Analysis:\n"
        "  --system pythagorean|chaldean\n"
        "  --vowel-y none|all    every Y a consonant (the default) or every Y a vowel\n"
        "  --where KEY=DIGIT     keeps the rows whose chain ends in DIGIT; KEY is vowels,\n"
        "                        consonants, total, date or namedate; several must all hold\n"
        "\n"
        "Output:\n"
        "  -o, --output FILE     the file to write (- or nothing: standard output); a file is\n"
        "                        replaced only when the run gets to its end\n"
        "  --format csv|tsv|jsonl\n"
        "  --no-header           no header row in CSV and TSV\n"
        "  --threads N           worker threads (default: the number of cores)\n"
        "\n"
        "A row that cannot be analysed (invalid UTF-8, a date that is not on the calendar, a\n"
        "missing column) is reported with its line number and skipped; the exit code is then 1.\n"
        "Exit code 2: a usage error, an input that cannot be read or an output that cannot be\n"
        "written.\n");
}

// A column given as a 1-based number, or as the text of its header.
std::optional<batch::ColumnRef> ColumnFrom(const QString& text) {
    bool number = false;
    const qulonglong value = text.toULongLong(&number);
    if (number) {
        if (value == 0) return std::nullopt;
        return batch::ColumnRef{{}, static_cast<std::size_t>(value)};
    }
    return batch::ColumnRef{text.toStdString(), 0};
}

std::optional<batch::WhereClause> WhereFrom(const QString& text) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0) return std::nullopt;
    const auto key = batch::WhereKeyFromName(text.left(equals).trimmed().toLower().toStdString());
    const QString digit = text.mid(equals + 1).trimmed();
    if (!key || digit.size() != 1 || !digit.at(0).isDigit() || digit.at(0).unicode() > u'9') return std::nullopt;
    return batch::WhereClause{*key, digit.at(0).unicode() - u'0'};
}

// Reads the options into a batch request; returns an exit code, 0 when the request is good.
int ParseBatchRequest(const QStringList& arguments, BatchOptions& options, QString& input, QString& output,
                      QTextStream& err) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")}, {}, QStringLiteral("FILE"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("csv|tsv|jsonl"));
    const QCommandLineOption column(QStringLiteral("column"), {}, QStringLiteral("NAME|N"));
    const QCommandLineOption dateColumn(QStringLiteral("date-column"), {}, QStringLiteral("NAME|N"));
    const QCommandLineOption date(QStringLiteral("date"), {}, QStringLiteral("DATE"));
    const QCommandLineOption system(QStringLiteral("system"), {}, QStringLiteral("pythagorean|chaldean"));
    const QCommandLineOption vowelY(QStringLiteral("vowel-y"), {}, QStringLiteral("none|all"));
    const QCommandLineOption where(QStringLiteral("where"), {}, QStringLiteral("KEY=DIGIT"));
    const QCommandLineOption threads(QStringLiteral("threads"), {}, QStringLiteral("N"));
    const QCommandLineOption noHeader(QStringLiteral("no-header"));
    parser.addOptions({outputOption, format, column, dateColumn, date, system, vowelY, where, threads, noHeader});
    if (!parser.parse(arguments)) return UsageError(err, parser.errorText());

    const QStringList positional = parser.positionalArguments().mid(1);
    if (positional.size() > 1) return UsageError(err, QStringLiteral("batch reads one INPUT, not %1").arg(positional.size()));
    input = positional.value(0, QStringLiteral("-"));
    output = parser.isSet(outputOption) ? parser.value(outputOption) : QStringLiteral("-");

    if (parser.isSet(format)) {
        const QString name = parser.value(format).toLower();
        if (name == QLatin1String("csv")) {
            options.format = batch::OutputFormat::Csv;
        } else if (name == QLatin1String("tsv")) {
            options.format = batch::OutputFormat::Tsv;
        } else if (name == QLatin1String("jsonl")) {
            options.format = batch::OutputFormat::JsonLines;
        } else {
            return UsageError(err, QStringLiteral("--format takes csv, tsv or jsonl, not \"%1\"").arg(parser.value(format)));
        }
    }
    for (const auto& [option, target] : {std::pair{&column, &options.column}, std::pair{&dateColumn, &options.dateColumn}}) {
        if (!parser.isSet(*option)) continue;
        *target = ColumnFrom(parser.value(*option));
        if (!*target) return UsageError(err, QStringLiteral("--%1: columns are counted from 1").arg(option->names().constFirst()));
    }
    if (options.dateColumn && !options.column) return UsageError(err, QStringLiteral("--date-column needs --column"));
    if (options.dateColumn && parser.isSet(date)) return UsageError(err, QStringLiteral("give --date or --date-column, not both"));
    if (parser.isSet(system)) {
        const auto chosen = LetterSystemFromName(parser.value(system).toStdString());
        if (!chosen) {
            return UsageError(err, QStringLiteral("--system takes pythagorean or chaldean, not \"%1\"").arg(parser.value(system)));
        }
        options.system = *chosen;
    }
    if (parser.isSet(vowelY)) {
        const QString answer = parser.value(vowelY).toLower();
        if (answer != QLatin1String("none") && answer != QLatin1String("all")) {
            return UsageError(err, QStringLiteral("--vowel-y takes none or all, not \"%1\"").arg(parser.value(vowelY)));
        }
        options.vowelYAll = answer == QLatin1String("all");
    }

    // Dates are read as the date field reads them, under the regional settings of today.
    options.dateSettings = CurrentDateSettings();
    options.today = Today();
    options.upperCaseDate = [](std::u16string_view text) {
        return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())).toUpper().toStdU16String();
    };
    if (parser.isSet(date)) {
        const DateReading reading =
            ReadDate(parser.value(date).toUpper().toStdU16String(), options.dateSettings, options.today);
        if (const auto* error = std::get_if<DateError>(&reading)) {
            return UsageError(err, QStringLiteral("--date: %1").arg(QString::fromStdString(error->message)));
        }
        options.date = std::get<CivilDate>(reading);
    }

    for (const QString& text : parser.values(where)) {
        const auto clause = WhereFrom(text);
        if (!clause) {
            return UsageError(err, QStringLiteral("--where takes KEY=DIGIT with KEY vowels, consonants, total, date or "
                                                  "namedate: \"%1\"")
                                       .arg(text));
        }
        const bool needsDate = clause->key == batch::WhereKey::Date || clause->key == batch::WhereKey::NameDate;
        if (needsDate && !options.HasDate()) {
            return UsageError(err, QStringLiteral("--where %1 needs --date or --date-column").arg(text));
        }
        options.where.push_back(*clause);
    }

    options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (parser.isSet(threads)) {
        bool ok = false;
        const int count = parser.value(threads).toInt(&ok);
        if (!ok || count < 1 || count > kMaxThreads) {
            return UsageError(err, QStringLiteral("--threads takes a number from 1 to %1, not \"%2\"")
                                       .arg(kMaxThreads)
                                       .arg(parser.value(threads)));
        }
        options.threads = count;
    }
    options.header = !parser.isSet(noHeader);
    return kExitOk;
}

// The progress line on a terminal: first after a second, then a few times a second, and wiped
// before any other message and at the end.
class ProgressLine {
public:
    ProgressLine(QTextStream& err, std::optional<std::uint64_t> total, bool terminal)
        : err_(err), total_(total), terminal_(terminal), start_(Clock::now()), next_(start_ + std::chrono::seconds(1)) {}
    ~ProgressLine() { Clear(); }

    void Show(const batch::BatchProgress& progress) {
        if (!terminal_) return;
        const Clock::time_point now = Clock::now();
        if (now < next_) return;
        next_ = now + std::chrono::milliseconds(250);
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        err_ << "\r" << QString::fromStdString(batch::FormatProgress(progress.bytesRead, total_, progress.rows, elapsed))
             << "\x1b[K";
        err_.flush();
        shown_ = true;
    }

    void Clear() {
        if (!shown_) return;
        err_ << "\r\x1b[K";
        err_.flush();
        shown_ = false;
    }

private:
    using Clock = std::chrono::steady_clock;
    QTextStream& err_;
    std::optional<std::uint64_t> total_;
    bool terminal_;
    Clock::time_point start_;
    Clock::time_point next_;
    bool shown_ = false;
};

// Whether the output would replace the input ("-" is standard input), through links too: the run
// would destroy its own list.
bool OutputIsInput(const QString& inputPath, const QString& outputPath) {
    if (outputPath == QLatin1String("-")) return false;
    struct stat input {};
    struct stat output {};
    const bool inputKnown = inputPath == QLatin1String("-") ? ::fstat(STDIN_FILENO, &input) == 0
                                                            : ::stat(inputPath.toLocal8Bit().constData(), &input) == 0;
    return inputKnown && ::stat(outputPath.toLocal8Bit().constData(), &output) == 0 && input.st_dev == output.st_dev &&
           input.st_ino == output.st_ino;
}

int Failure(QTextStream& err, const std::string& message) {
    return CommandError(err, kExitUsage, QString::fromStdString(message));
}

}  // namespace

int RunBatchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.contains(QStringLiteral("-h")) || arguments.contains(QStringLiteral("--help"))) {
        out << BatchUsage();
        out.flush();
        return kExitOk;
    }
    BatchOptions options;
    QString inputPath;
    QString outputPath;
    if (const int code = ParseBatchRequest(arguments, options, inputPath, outputPath, err); code != kExitOk) return code;

    // The input first: a run that cannot read its input does not touch the output.
    batch::InputFile input;
    if (auto error = input.Open(inputPath.toStdString())) return Failure(err, *error);
    if (OutputIsInput(inputPath, outputPath)) return Failure(err, "the output file is the input file");
    SafeSave output;
    if (outputPath == QLatin1String("-")) {
        output.OpenStandardOutput();
    } else if (auto error = output.Open(outputPath.toStdString())) {
        return Failure(err, *error);
    }

    ProgressLine progress(err, input.Size(), isatty(STDERR_FILENO) == 1);
    batch::BatchCallbacks callbacks;
    callbacks.skipped = [&](const batch::SkippedRow& row) {
        progress.Clear();
        CommandError(err, kExitFailure, QStringLiteral("line %1: %2; row skipped").arg(row.line).arg(QString::fromStdString(row.reason)));
    };
    callbacks.progress = [&](const batch::BatchProgress& now) { progress.Show(now); };
    const batch::BatchOutcome outcome = batch::RunBatch(
        options, [&input](char* buffer, std::size_t size) { return input.Read(buffer, size); },
        [&output](std::string_view bytes) -> std::optional<std::string> {
            if (output.Write(bytes)) return std::nullopt;
            return std::string(kStreamWriteError);
        },
        callbacks);
    progress.Clear();

    if (outcome.failure) {
        output.Abandon();
        return Failure(err, *outcome.failure);
    }
    if (auto error = output.Commit()) return Failure(err, *error);
    if (outcome.rowsSkipped > 0) {
        err << "quillon: " << outcome.rowsSkipped << " of " << outcome.rowsRead << " rows skipped\n";
        err.flush();
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace quillon
