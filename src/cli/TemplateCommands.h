#pragma once
// "quillon template save print|export -o FILE" and "quillon template show FILE": the report
// templates as the program carries them, and any template stream read back as JSON.

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

class QTextStream;

namespace quillon {
class CommandArguments;
}

namespace quillon {

int RunTemplateCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err);

// The bytes of a template stream file, of any kind (a device or a pipe too); a file that cannot
// be read, is empty or is too large to be a template is reported on err and gives nothing.
std::optional<QByteArray> ReadTemplateFile(const QString& path, QTextStream& err);
std::span<const std::uint8_t> StreamOf(const QByteArray& bytes);

}  // namespace quillon
