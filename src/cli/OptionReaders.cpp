#include "cli/OptionReaders.h"

#include <QTextStream>

#include "cli/CommandError.h"
#include "numerology/AccentFolding.h"
#include "platform/Regional.h"

namespace quillon {

int ReadSystem(const CommandArguments& arguments, LetterSystem& system, QTextStream& err) {
    if (!arguments.IsSet(kSystemOption)) return kExitOk;
    const QString name = arguments.Value(kSystemOption);
    const auto chosen = LetterSystemFromName(name.toStdString());
    if (!chosen) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("--system takes pythagorean or chaldean, not \"%1\"").arg(name));
    }
    system = *chosen;
    return kExitOk;
}

int ReadVowelY(const CommandArguments& arguments, bool withPositions, VowelYChoice& choice, QTextStream& err) {
    if (!arguments.IsSet(kVowelYOption)) return kExitOk;
    const QString wanted = arguments.Value(kVowelYOption);
    if (wanted.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0) {
        choice.all = true;
        return kExitOk;
    }
    if (!withPositions) {
        if (wanted.compare(QStringLiteral("none"), Qt::CaseInsensitive) == 0) return kExitOk;
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("--vowel-y takes none or all, not \"%1\"").arg(wanted));
    }
    for (const QString& part : wanted.split(QLatin1Char(','))) {
        bool ok = false;
        const qsizetype position = part.trimmed().toLongLong(&ok);
        if (!ok || position < 1) {
            return CommandError(
                err, ErrorKind::Usage,
                QStringLiteral("--vowel-y takes \"all\" or 1-based positions such as 4 or 2,5: \"%1\"").arg(wanted));
        }
        choice.positions.push_back(position);
    }
    return kExitOk;
}

std::optional<QString> ApplyVowelY(std::u16string& data, const VowelYChoice& choice, bool foldAccents) {
    if (choice.all) {
        for (char16_t& c : data) {
            if (IsQuestionY(c, foldAccents)) c = VowelFormOfY(c);
        }
        return std::nullopt;
    }
    for (const qsizetype position : choice.positions) {
        if (position > static_cast<qsizetype>(data.size()) ||
            !IsQuestionY(data[static_cast<std::size_t>(position - 1)], foldAccents)) {
            return QStringLiteral("--vowel-y: position %1 of \"%2\" holds no Y")
                .arg(position)
                .arg(QString::fromStdU16String(data));
        }
    }
    for (const qsizetype position : choice.positions) {
        char16_t& c = data[static_cast<std::size_t>(position - 1)];
        c = VowelFormOfY(c);
    }
    return std::nullopt;
}

bool FoldAccentsOf(const CommandArguments& arguments) { return arguments.IsSet(kFoldAccentsOption); }

std::u16string UpperCaseDateText(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()))
        .toUpper()
        .toStdU16String();
}

DateReading ReadArgumentDate(const QString& text, const DateSettings& settings, const CivilDate& today) {
    return ReadStrictDate(text.toStdU16String(), settings, today, UpperCaseDateText);
}

std::optional<CivilDate> ReadCommandDate(const QString& text, QTextStream& err) {
    const DateReading reading = ReadArgumentDate(text, CurrentDateSettings(), Today());
    if (const auto* error = std::get_if<DateError>(&reading)) {
        CommandError(err, ErrorKind::Usage, QString::fromStdString(error->message));
        return std::nullopt;
    }
    return std::get<CivilDate>(reading);
}

namespace {

std::optional<QString> FileValueOf(const CommandArguments& arguments, const OptionSpec& option) {
    if (!arguments.IsSet(option)) return std::nullopt;
    return arguments.FileValue(option);
}

}  // namespace

std::optional<QString> TemplateFileOf(const CommandArguments& arguments) {
    return FileValueOf(arguments, kTemplateOption);
}

std::optional<QString> OutputOf(const CommandArguments& arguments) { return FileValueOf(arguments, kOutputOption); }

std::optional<std::string> OpenOutput(SafeSave& save, const QString& path) {
    if (path != QLatin1String("-")) return save.Open(FileNameBytes(path));
    return save.OpenStandardOutput();
}

}  // namespace quillon
