#include "cli/TemplateCommands.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "cli/AnalyseCommand.h"
#include "cli/CommandLine.h"
#include "cli/ReportJson.h"
#include "common/SafeSave.h"
#include "platform/Regional.h"
#include "report/content/TemplateData.h"
#include "report/format/TemplateStream.h"

namespace quillon {
namespace {

// A template stream larger than this is not a template.
constexpr qint64 kMaxTemplateBytes = 64 * 1024 * 1024;

int Fail(QTextStream& err, int code, const QString& message) { return CommandError(err, code, message); }

int Save(const QStringList& arguments, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("FILE"));
    parser.addOption(output);
    if (!parser.parse(arguments)) return Fail(err, kExitUsage, parser.errorText());
    const QStringList positional = parser.positionalArguments();  // template save NAME
    if (positional.size() != 3 || !parser.isSet(output)) {
        return Fail(err, kExitUsage, QStringLiteral("usage: quillon template save print|export -o FILE"));
    }
    std::span<const std::uint8_t> form;
    if (positional[2] == QLatin1String("print")) {
        form = PrintReportForm();
    } else if (positional[2] == QLatin1String("export")) {
        form = ExportReportForm();
    } else {
        return Fail(err, kExitUsage, QStringLiteral("no template \"%1\"; there are print and export").arg(positional[2]));
    }
    const auto stream = UnwrapReportForm(form);
    if (!stream) return Fail(err, kExitFailure, QStringLiteral("the carried template is damaged"));

    SafeSave file;
    std::optional<std::string> error;
    if (parser.value(output) == QLatin1String("-")) {
        file.OpenStandardOutput();
    } else {
        error = file.Open(parser.value(output).toStdString());
    }
    if (!error) {
        file.Write(stream->data(), stream->size());
        error = file.Commit();
    }
    if (error) return Fail(err, kExitFailure, QString::fromStdString(*error));
    return kExitOk;
}

}  // namespace

std::optional<QByteArray> ReadTemplateFile(const QString& path, QTextStream& err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(err, kExitFailure, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    // A device or a pipe has no size to check beforehand, and /dev/zero has no end: whatever the
    // file is, one byte more than a template may have is read at most.
    QByteArray bytes;
    char block[64 * 1024];
    while (bytes.size() <= kMaxTemplateBytes) {
        const qint64 read = file.read(block, std::min<qint64>(sizeof block, kMaxTemplateBytes + 1 - bytes.size()));
        if (read < 0) {
            Fail(err, kExitFailure, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
            return std::nullopt;
        }
        if (read == 0) break;
        bytes.append(block, read);
    }
    if (bytes.size() > kMaxTemplateBytes) {
        Fail(err, kExitFailure, QStringLiteral("%1 is too large for a template").arg(path));
        return std::nullopt;
    }
    // An empty stream would leave the report without pages, and give a blank file.
    if (bytes.isEmpty()) {
        Fail(err, kExitFailure, QStringLiteral("%1 is empty, not a template").arg(path));
        return std::nullopt;
    }
    return bytes;
}

std::span<const std::uint8_t> StreamOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

namespace {

int Show(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 4) return Fail(err, kExitUsage, QStringLiteral("usage: quillon template show FILE"));
    const auto bytes = ReadTemplateFile(arguments[3], err);
    if (!bytes) return kExitFailure;
    const std::span<const std::uint8_t> stream = StreamOf(*bytes);
    // Read as a report reads it, so that the pages show the paper the printer layer settles on.
    TfrPrinter printer;
    TfrReport report(printer, {});
    const RunResult load = report.LoadTemplate(stream, Now());
    if (load.IsFailed()) return Fail(err, kExitFailure, QString::fromStdString(load.message));
    const int version = std::max<int>(stream[0], 21);
    out << QJsonDocument(TemplateJson(report.Template, version)).toJson(QJsonDocument::Indented);
    out.flush();
    return kExitOk;
}

}  // namespace

int RunTemplateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString action = arguments.value(2);
    if (action == QLatin1String("save")) return Save(arguments, err);
    if (action == QLatin1String("show")) return Show(arguments, out, err);
    return Fail(err, kExitUsage, QStringLiteral("usage: quillon template save print|export -o FILE | template show FILE"));
}

}  // namespace quillon
