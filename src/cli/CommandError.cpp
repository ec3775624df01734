#include "cli/CommandError.h"

#include <QStringList>
#include <QTextStream>

namespace quillon {

QString VisibleText(const QString& text) {
    QString visible;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            visible += QStringLiteral("\\x") + QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            visible += c;
        }
    }
    return visible;
}

void CommandNote(QTextStream& err, const QString& message) {
    QStringList lines = message.split(QLatin1Char('\n'));
    for (QString& line : lines) line = VisibleText(line);
    err << "quillon: " << lines.join(QLatin1Char('\n')) << "\n";
    err.flush();
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
