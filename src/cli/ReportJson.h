#pragma once
// Report templates and prepared pages as JSON, for the command line. Template objects and prepared
// objects are written by the same function with the same keys (the field names of the objects'
// records); a prepared object leaves out what its printing form does not carry.

#include <QJsonObject>

class QTextStream;

#include "report/engine/Report.h"

namespace quillon {

// Which record of an object is shown: its design record in a template, or its printing form on
// a prepared page (final position and text, no format, script, visibility or highlight).
enum class ViewForm { Design, Printing };

QJsonObject PageMetricsJson(const PageMetrics& metrics);
QJsonObject ViewJson(const TfrView& view, ViewForm form);
// The whole template; version is the stream's format version.
QJsonObject TemplateJson(const ReportTemplate& report, int version);
// Writes the prepared pages of a report with their objects as an indented JSON document
// {"pages": [...], "report": NAME}, a page at a time; fails on a damaged page, with what was
// written so far left in the stream.
RunResult WritePreparedPagesJson(TfrReport& report, QTextStream& out);

}  // namespace quillon
