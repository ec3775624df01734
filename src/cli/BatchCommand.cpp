#include "cli/BatchCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QTextStream>
#include <chrono>
#include <climits>
#include <thread>

#include "batch/BatchRun.h"
#include "batch/InputFile.h"
#include "batch/Progress.h"
#include "cli/CommandError.h"
#include "cli/CommandTable.h"
#include "cli/OptionReaders.h"
#include "common/SafeSave.h"
#include "platform/Regional.h"

namespace quillon {
namespace {

using batch::BatchOptions;

constexpr int kMaxThreads = 256;

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

// KEY=DIGIT: a chain's key and its final digit, or a core number's key and its final digit or
// master number (11, 22 or 33).
std::optional<batch::WhereClause> WhereFrom(const QString& text) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0) return std::nullopt;
    const std::string name = text.left(equals).trimmed().toLower().toStdString();
    const QString value = text.mid(equals + 1).trimmed();
    batch::WhereClause clause;
    if (const auto core = CoreNameFromKey(name)) {
        clause.key = batch::WhereKey::Core;
        clause.core = *core;
    } else if (const auto key = batch::WhereKeyFromName(name)) {
        clause.key = *key;
    } else {
        return std::nullopt;
    }
    if (value.size() == 1 && value.at(0) >= QLatin1Char('0') && value.at(0) <= QLatin1Char('9')) {
        clause.digit = value.at(0).unicode() - u'0';
    } else if (clause.key == batch::WhereKey::Core &&
               (value == QLatin1String("11") || value == QLatin1String("22") || value == QLatin1String("33"))) {
        clause.digit = value.toInt();
    } else {
        return std::nullopt;
    }
    return clause;
}

std::optional<batch::OutputFormat> FormatFrom(const QString& name) {
    const std::pair<const char*, batch::OutputFormat> formats[] = {{"csv", batch::OutputFormat::Csv},
                                                                   {"tsv", batch::OutputFormat::Tsv},
                                                                   {"jsonl", batch::OutputFormat::JsonLines}};
    for (const auto& [known, format] : formats) {
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0) return format;
    }
    return std::nullopt;
}

// Where the names and their dates are taken from, and how the rows are written.
int ReadLayout(const CommandArguments& arguments, BatchOptions& options, QTextStream& err) {
    if (arguments.IsSet(kFormatOption)) {
        const QString name = arguments.Value(kFormatOption);
        const auto format = FormatFrom(name);
        if (!format) {
            return CommandError(err, ErrorKind::Usage,
                                QStringLiteral("--format takes csv, tsv or jsonl, not \"%1\"").arg(name));
        }
        options.format = *format;
    }
    for (const auto& [option, target] :
         {std::pair{&kColumnOption, &options.column}, std::pair{&kDateColumnOption, &options.dateColumn}}) {
        if (!arguments.IsSet(*option)) continue;
        *target = ColumnFrom(arguments.Value(*option));
        if (!*target) {
            return CommandError(err, ErrorKind::Usage,
                                QStringLiteral("%1: columns are counted from 1").arg(TypedNames(*option).constFirst()));
        }
    }
    if (options.dateColumn && !options.column) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("--date-column needs --column"));
    }
    if (options.dateColumn && arguments.IsSet(kDateOption)) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("give --date or --date-column, not both"));
    }
    options.header = !arguments.IsSet(kNoHeaderOption);
    return kExitOk;
}

// The analysis: the system, the Ys, the date of every row and the rows kept.
int ReadAnalysis(const CommandArguments& arguments, BatchOptions& options, QTextStream& err) {
    if (const int code = ReadSystem(arguments, options.system, err); code != kExitOk) return code;
    VowelYChoice vowelY;
    if (const int code = ReadVowelY(arguments, false, vowelY, err); code != kExitOk) return code;
    options.vowelYAll = vowelY.all;
    options.foldAccents = FoldAccentsOf(arguments);
    options.core = arguments.IsSet(kCoreOption);
    // Dates are read strictly, as every date of the command line, under the regional settings of
    // today.
    options.dateSettings = CurrentDateSettings();
    options.today = Today();
    options.upperCaseDate = UpperCaseDateText;
    if (arguments.IsSet(kDateOption)) {
        const DateReading reading = ReadArgumentDate(arguments.Value(kDateOption), options.dateSettings, options.today);
        if (const auto* error = std::get_if<DateError>(&reading)) {
            return CommandError(err, ErrorKind::Usage, QString::fromStdString(error->message));
        }
        options.date = std::get<CivilDate>(reading);
    }
    for (const QString& text : arguments.Values(kWhereOption)) {
        const auto clause = WhereFrom(text);
        if (!clause) {
            return CommandError(err, ErrorKind::Usage,
                                QStringLiteral("--where takes KEY=DIGIT with KEY vowels, consonants, total, date, "
                                               "namedate or a core number (expression, soulurge, personality, "
                                               "lifepath, birthday, maturity; also =11, =22 or =33): \"%1\"")
                                    .arg(text));
        }
        const bool needsDate = clause->key == batch::WhereKey::Date || clause->key == batch::WhereKey::NameDate ||
                               (clause->key == batch::WhereKey::Core && OfTheDate(clause->core));
        if (needsDate && !options.HasDate()) {
            return CommandError(err, ErrorKind::Usage,
                                QStringLiteral("--where %1 needs --date or --date-column").arg(text));
        }
        options.where.push_back(*clause);
    }
    return kExitOk;
}

// Reads the options into a batch request; returns an exit code, 0 when the request is good.
int ReadBatchRequest(const CommandArguments& arguments, BatchOptions& options, QString& input, QString& output,
                     QTextStream& err) {
    const QStringList words = arguments.Words();
    if (words.size() > 1) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("batch reads one INPUT, not %1").arg(words.size()));
    }
    input = words.isEmpty() ? QStringLiteral("-") : arguments.FileWord(0);
    output = OutputOf(arguments).value_or(QStringLiteral("-"));
    if (const int code = ReadLayout(arguments, options, err); code != kExitOk) return code;
    if (const int code = ReadAnalysis(arguments, options, err); code != kExitOk) return code;

    options.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (arguments.IsSet(kThreadsOption)) {
        bool ok = false;
        const QString text = arguments.Value(kThreadsOption);
        const int count = text.toInt(&ok);
        if (!ok || count < 1 || count > kMaxThreads) {
            return CommandError(
                err, ErrorKind::Usage,
                QStringLiteral("--threads takes a number from 1 to %1, not \"%2\"").arg(kMaxThreads).arg(text));
        }
        options.threads = count;
    }
    return kExitOk;
}

// The progress line on a terminal: first after a second, then a few times a second, and wiped
// before any other message and at the end.
class ProgressLine {
public:
    ProgressLine(QTextStream& err, std::optional<std::uint64_t> total, bool terminal)
        : err_(err),
          total_(total),
          terminal_(terminal),
          start_(Clock::now()),
          next_(start_ + std::chrono::seconds(1)) {}
    ~ProgressLine() { Clear(); }

    void Show(const batch::BatchProgress& progress) {
        if (!terminal_) return;
        const Clock::time_point now = Clock::now();
        if (now < next_) return;
        next_ = now + std::chrono::milliseconds(250);
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        err_ << "\r"
             << QString::fromStdString(batch::FormatProgress(progress.bytesRead, total_, progress.rows, elapsed))
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
                                                            : ::stat(FileNameBytes(inputPath).c_str(), &input) == 0;
    return inputKnown && ::stat(FileNameBytes(outputPath).c_str(), &output) == 0 && input.st_dev == output.st_dev &&
           input.st_ino == output.st_ino;
}

// An input that cannot be read or an output that cannot be written ends the run as a usage error
// does (exit code 2), as the usage says; skipped rows are the failure (1).
int Failure(QTextStream& err, const std::string& message) {
    return CommandError(err, ErrorKind::Usage, MessageText(message));
}

}  // namespace

int RunBatchCommand(const CommandArguments& arguments, QTextStream&, QTextStream& err) {
    BatchOptions options;
    QString inputPath;
    QString outputPath;
    if (const int code = ReadBatchRequest(arguments, options, inputPath, outputPath, err); code != kExitOk) return code;

    // The input first: a run that cannot read its input does not touch the output.
    batch::InputFile input;
    if (auto error = input.Open(FileNameBytes(inputPath))) return Failure(err, *error);
    if (OutputIsInput(inputPath, outputPath)) return Failure(err, "the output file is the input file");
    SafeSave output;
    if (auto error = OpenOutput(output, outputPath)) return Failure(err, *error);

    ProgressLine progress(err, input.Size(), isatty(STDERR_FILENO) == 1);
    batch::BatchCallbacks callbacks;
    callbacks.skipped = [&](const batch::SkippedRow& row) {
        progress.Clear();
        CommandNote(err,
                    QStringLiteral("line %1: %2; row skipped").arg(row.line).arg(QString::fromStdString(row.reason)));
    };
    callbacks.progress = [&](const batch::BatchProgress& now) { progress.Show(now); };
    const batch::BatchOutcome outcome = batch::RunBatch(
        options, [&input](char* buffer, std::size_t size) { return input.Read(buffer, size); },
        [&output](std::string_view bytes) -> std::optional<std::string> {
            if (output.Write(bytes)) return std::nullopt;
            return output.WriteFailure();
        },
        callbacks);
    progress.Clear();

    if (outcome.failure) {
        output.Abandon();
        return Failure(err, *outcome.failure);
    }
    if (auto error = output.Commit()) return Failure(err, *error);
    if (outcome.rowsSkipped > 0) {
        return CommandError(err, ErrorKind::Failure,
                            QStringLiteral("%1 of %2 rows skipped").arg(outcome.rowsSkipped).arg(outcome.rowsRead));
    }
    return kExitOk;
}

}  // namespace quillon
