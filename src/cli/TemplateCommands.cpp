#include "cli/TemplateCommands.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cerrno>
#include <cstring>

#include "cli/CommandError.h"
#include "cli/CommandTable.h"
#include "cli/OptionReaders.h"
#include "cli/ReportJson.h"
#include "common/SafeSave.h"
#include "platform/Regional.h"
#include "report/content/TemplateData.h"
#include "report/format/TemplateStream.h"

namespace quillon {
namespace {

// A template stream larger than this is not a template.
constexpr qint64 kMaxTemplateBytes = 64 * 1024 * 1024;

int Save(const CommandArguments& arguments, QTextStream& err) {
    const QStringList words = arguments.Words();  // save NAME
    const std::optional<QString> output = OutputOf(arguments);
    if (words.size() != 2 || !output) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("usage: quillon template save print|export -o FILE"));
    }
    std::span<const std::uint8_t> form;
    if (words[1] == QLatin1String("print")) {
        form = PrintReportForm();
    } else if (words[1] == QLatin1String("export")) {
        form = ExportReportForm();
    } else {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("no template \"%1\"; there are print and export").arg(words[1]));
    }
    const auto stream = UnwrapReportForm(form);
    if (!stream) return CommandError(err, ErrorKind::Failure, QStringLiteral("the carried template is damaged"));

    SafeSave file;
    std::optional<std::string> error = OpenOutput(file, *output);
    if (!error) {
        file.Write(stream->data(), stream->size());
        error = file.Commit();
    }
    if (error) return CommandError(err, ErrorKind::Failure, MessageText(*error));
    return kExitOk;
}

}  // namespace

std::optional<QByteArray> ReadTemplateFile(const QString& path, QTextStream& err) {
    // Opened by its bytes: a name that is no UTF-8 names its own file.
    QFile file;
    const int descriptor = ::open(FileNameBytes(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0 || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const QString reason = descriptor < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
        if (descriptor >= 0) ::close(descriptor);
        CommandError(err, ErrorKind::Failure, QStringLiteral("cannot read %1: %2").arg(path, reason));
        return std::nullopt;
    }
    // A device or a pipe has no size to check beforehand, and /dev/zero has no end: whatever the
    // file is, one byte more than a template may have is read at most.
    QByteArray bytes;
    char block[64 * 1024];
    while (bytes.size() <= kMaxTemplateBytes) {
        const qint64 read = file.read(block, std::min<qint64>(sizeof block, kMaxTemplateBytes + 1 - bytes.size()));
        if (read < 0) {
            CommandError(err, ErrorKind::Failure, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
            return std::nullopt;
        }
        if (read == 0) break;
        bytes.append(block, read);
    }
    if (bytes.size() > kMaxTemplateBytes) {
        CommandError(err, ErrorKind::Failure, QStringLiteral("%1 is too large for a template").arg(path));
        return std::nullopt;
    }
    // An empty stream would leave the report without pages, and give a blank file.
    if (bytes.isEmpty()) {
        CommandError(err, ErrorKind::Failure, QStringLiteral("%1 is empty, not a template").arg(path));
        return std::nullopt;
    }
    return bytes;
}

std::span<const std::uint8_t> StreamOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

namespace {

int Show(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    const QStringList words = arguments.Words();  // show FILE
    if (words.size() != 2 || OutputOf(arguments)) {
        return CommandError(err, ErrorKind::Usage, QStringLiteral("usage: quillon template show FILE"));
    }
    const auto bytes = ReadTemplateFile(arguments.FileWord(1), err);
    if (!bytes) return kExitFailure;
    const std::span<const std::uint8_t> stream = StreamOf(*bytes);
    // Read as a report reads it, so that the pages show the paper the printer layer settles on.
    TfrPrinter printer;
    TfrReport report(printer, {});
    const RunResult load = report.LoadTemplate(stream, Now());
    if (load.IsFailed()) return CommandError(err, ErrorKind::Failure, QString::fromStdString(load.message));
    const int version = std::max<int>(stream[0], 21);
    out << QJsonDocument(TemplateJson(report.Template, version)).toJson(QJsonDocument::Indented);
    out.flush();
    return kExitOk;
}

}  // namespace

int RunTemplateCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    const QString action = arguments.Words().value(0);
    if (action == QLatin1String("save")) return Save(arguments, err);
    if (action == QLatin1String("show")) return Show(arguments, out, err);
    return CommandError(err, ErrorKind::Usage,
                        QStringLiteral("usage: quillon template save print|export -o FILE | template show FILE"));
}

}  // namespace quillon
