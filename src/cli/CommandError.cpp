#include "cli/CommandError.h"

#include <QStringList>
#include <QTextStream>

#include "common/Utf8.h"

namespace quillon {

QString VisibleText(const QString& text) {
    QString visible;
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    for (std::size_t i = 0; i < units.size(); ++i) {
        const QChar c(units[i]);
        const char16_t code = units[i];
        // A byte of a name that is no UTF-8 is shown as the byte it is.
        const bool byte = IsEscapedByteAt(units, i);
        if (byte) {
            visible += QStringLiteral("\\x") + QString::number(code - kEscapedByteBase, 16).toUpper();
        } else if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            visible += QStringLiteral("\\x") + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            visible += c;
        }
    }
    return visible;
}

QString MessageText(const std::string& message) { return QString::fromStdU16String(BytesToUtf16Escaped(message)); }

QString TerminalText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) line = VisibleText(line);
    return lines.join(QLatin1Char('\n'));
}

void CommandNote(QTextStream& err, const QString& message) {
    err << "quillon: " << TerminalText(message) << "\n";
    err.flush();
}

void CommandMessages::Show(std::string_view, std::string_view text, MessageIcon) {
    CommandNote(err_, MessageText(std::string(text)));
}

int CommandError(QTextStream& err, ErrorKind kind, const QString& message) {
    switch (kind) {
        case ErrorKind::Failure: CommandNote(err, message); return kExitFailure;
        case ErrorKind::Usage:
            CommandNote(err, QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            return kExitUsage;
    }
    return kExitFailure;
}

}  // namespace quillon
