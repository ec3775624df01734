#pragma once
// "quillon template save print|export -o FILE" and "quillon template show FILE": the report
// templates as the program carries them, and any template stream read back as JSON.

#include <QJsonObject>
#include <QStringList>

#include "report/engine/Page.h"

class QTextStream;

namespace quillon {

// The twelve page metrics as a JSON object, for the commands that show pages.
QJsonObject PageMetricsJson(const PageMetrics& metrics);

int RunTemplateCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon
