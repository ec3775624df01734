#include "app/ReportCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include "app/CommandAnalysis.h"
#include "app/CommandLine.h"
#include "app/TemplateCommands.h"
#include "platform/Messages.h"
#include "platform/QtCanvas.h"
#include "platform/QtReportLocale.h"
#include "platform/Regional.h"
#include "report/content/TemplateData.h"
#include "report/content/TemplateStream.h"
#include "report/engine/FixedCanvas.h"
#include "report/export/RtfExport.h"

namespace quillon {
namespace {

// The report's own error boxes become the command's error message.
class CollectedMessages final : public Messages {
public:
    void Show(std::string_view, std::string_view text, MessageIcon) override {
        if (message.empty()) message = std::string(text);
    }
    std::string message;
};

int ReportFailure(QTextStream& err, const std::string& text) {
    QString message = QString::fromStdString(text);
    message.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    err << "quillon: " << message.trimmed() << "\n";
    err.flush();
    return kExitFailure;
}

// Loads one of the carried templates and answers its names from the analysis.
bool LoadReport(TfrReport& report, bool print, const ReportSource& source) {
    const auto stream = UnwrapReportForm(print ? PrintReportForm() : ExportReportForm());
    if (!stream || !report.LoadTemplate(*stream, Now())) return false;
    report.OnGetValue = [&source](const std::string& name, Value& value) { value = ToValue(GetReportValue(source, name)); };
    report.Environment.now = [] { return Now(); };
    report.ShowProgress = false;
    return true;
}

QJsonObject ObjectJson(const TfrView& view) {
    QJsonArray text;
    for (const std::string& line : view.Memo) text.append(QString::fromStdString(line));
    QJsonObject object{{"kind", view.Kind() == ObjectKind::Memo ? QStringLiteral("memo") : QStringLiteral("line")},
                       {"name", QString::fromStdString(view.Name)},
                       {"x", view.Left},
                       {"y", view.Top},
                       {"width", view.Width},
                       {"height", view.Height},
                       {"flags", view.Flags},
                       {"frameTyp", view.FrameTyp},
                       {"frameWidth", view.FrameWidth},
                       {"frameColor", static_cast<qint64>(view.FrameColor)},
                       {"frameStyle", view.FrameStyle},
                       {"fillColor", static_cast<qint64>(view.FillColor)},
                       {"text", text}};
    if (view.Kind() == ObjectKind::Memo) {
        const auto& memo = static_cast<const TfrMemoView&>(view);
        object.insert("font", QJsonObject{{"name", QString::fromStdString(memo.Font.Name)},
                                          {"size", memo.Font.Size},
                                          {"style", memo.Font.Style},
                                          {"color", static_cast<qint64>(memo.Font.Color)},
                                          {"charset", memo.Font.Charset}});
        object.insert("alignment", memo.Alignment);
    }
    return object;
}

QJsonObject PagesJson(TfrReport& report) {
    QJsonArray pages;
    for (int index = 0; index < report.EMFPages.Count(); ++index) {
        const PreparedPage& page = report.EMFPages[index];
        QJsonArray objects;
        report.EMFPages.ExportPage(index, [&objects](const TfrView& view) { objects.append(ObjectJson(view)); });
        pages.append(QJsonObject{{"size", page.Size},
                                 {"paperWidth", page.PaperWidth},
                                 {"paperHeight", page.PaperHeight},
                                 {"orientation", page.Orientation},
                                 {"bin", page.Bin},
                                 {"useMargins", page.UseMargins},
                                 {"margins", QJsonArray{page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin}},
                                 {"metrics", PageMetricsJson(page.Metrics)},
                                 {"objects", objects}});
    }
    return {{"report", QString::fromStdString(report.Name)}, {"pages", pages}};
}

}  // namespace

int RunPrepareCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString which = arguments.value(2);
    const bool print = which == QLatin1String("print");
    if (!print && which != QLatin1String("export")) {
        return UsageError(err, QStringLiteral("usage: quillon prepare print|export [OPTIONS] --json TEXT"));
    }
    AnalysisRequest request;
    if (const int code = ParseAnalysisRequest(arguments, 2, request, err); code != kExitOk) return code;
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;

    CollectedMessages messages;
    ScopedMessages collect(messages);
    TfrPrinter printer;
    TfrReport report(printer, print ? "frReport1" : "frReport2");
    if (!LoadReport(report, print, analysis.source)) return ReportFailure(err, "the carried template cannot be read");
    // Text is measured with fixed metrics here, so the pages do not depend on the fonts installed.
    QtReportLocale locale;
    FixedCanvas scratch;
    report.Environment.locale = &locale;
    report.Environment.scratch = &scratch;
    report.Prepare();
    if (!report.LastError().empty()) return ReportFailure(err, report.LastError());
    out << QJsonDocument(PagesJson(report)).toJson(QJsonDocument::Indented);
    out.flush();
    return kExitOk;
}

int RunExportCommand(const QStringList& arguments, QTextStream& err) {
    AnalysisRequest request;
    if (const int code = ParseAnalysisRequest(arguments, 1, request, err); code != kExitOk) return code;
    if (!request.output) return UsageError(err, QStringLiteral("export needs -o FILE"));
    CommandAnalysis analysis;
    if (const int code = Analyse(request, analysis, err); code != kExitOk) return code;

    // The Export button's pipeline: the export template prepared with the user's formats and
    // the window's fonts, written by an RTF writer with the window's settings.
    CollectedMessages messages;
    ScopedMessages collect(messages);
    TfrPrinter printer;
    TfrReport report(printer, "frReport2");
    if (!LoadReport(report, false, analysis.source)) return ReportFailure(err, "the carried template cannot be read");
    QtReportLocale locale;
    ScratchCanvas scratch;
    report.Environment.locale = &locale;
    report.Environment.scratch = &scratch.Get();
    report.Prepare();
    if (!report.LastError().empty()) return ReportFailure(err, report.LastError());
    TfrRTFExport writer;
    ConfigureAsExportButton(writer);
    if (!report.ExportToFile(writer, request.output->toStdString())) return ReportFailure(err, messages.message);
    return kExitOk;
}

}  // namespace quillon
