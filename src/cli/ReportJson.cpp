#include "cli/ReportJson.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <cmath>

namespace quillon {
namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QJsonArray Lines(const std::vector<std::string>& lines) {
    QJsonArray array;
    for (const std::string& line : lines) array.append(Text(line));
    return array;
}

QString DateTimeText(DateTime value) {
    const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
    return base.addMSecs(static_cast<qint64>(std::llround(value * 86400000.0))).toString(Qt::ISODate);
}

QString KindName(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Memo: return QStringLiteral("memo");
        case ObjectKind::Picture: return QStringLiteral("picture");
        case ObjectKind::Band: return QStringLiteral("band");
        case ObjectKind::SubReport: return QStringLiteral("subreport");
        case ObjectKind::Line: return QStringLiteral("line");
        case ObjectKind::AddIn: return QStringLiteral("addin");
    }
    return {};
}

QJsonArray Margins(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return QJsonArray{left, top, right, bottom};
}

QJsonObject PageJson(const TfrPage& page) {
    QJsonArray objects;
    for (const auto& object : page.Objects) objects.append(ViewJson(*object, ViewForm::Design));
    return {{"size", page.Size},
            {"paperWidth", page.PaperWidth},
            {"paperHeight", page.PaperHeight},
            {"margins", Margins(page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin)},
            {"orientation", page.Orientation},
            {"bin", page.Bin},
            {"printToPrevPage", page.PrintToPrevPage},
            {"useMargins", page.UseMargins},
            {"columns", page.Columns},
            {"columnGap", page.ColumnGap},
            {"type", page.Type},
            {"name", Text(page.Name)},
            {"borderStyle", page.BorderStyle},
            {"caption", Text(page.Caption)},
            {"color", static_cast<qint64>(page.Color)},
            {"window", QJsonArray{page.FormLeft, page.FormTop, page.FormWidth, page.FormHeight}},
            {"position", page.Position},
            {"script", Lines(page.Script)},
            {"metrics", PageMetricsJson(page.Metrics)},
            {"objects", objects}};
}

QJsonArray Pairs(const std::vector<TemplateVariable>& pairs) {
    QJsonArray array;
    for (const TemplateVariable& pair : pairs)
        array.append(QJsonObject{{"name", Text(pair.Name)}, {"value", Text(pair.Value)}});
    return array;
}

}  // namespace

QJsonObject PageMetricsJson(const PageMetrics& m) {
    return {{"physicalWidth", m.PhysicalWidth},
            {"physicalHeight", m.PhysicalHeight},
            {"pageWidth", m.PageWidth},
            {"pageHeight", m.PageHeight},
            {"deviceOffsetX", m.DeviceOffsetX},
            {"deviceOffsetY", m.DeviceOffsetY},
            {"offsetX", m.OffsetX},
            {"offsetY", m.OffsetY},
            {"printableDeviceWidth", m.PrintableDeviceWidth},
            {"printableDeviceHeight", m.PrintableDeviceHeight},
            {"printableWidth", m.PrintableWidth},
            {"printableHeight", m.PrintableHeight}};
}

QJsonObject ViewJson(const TfrView& view, ViewForm form) {
    const bool design = form == ViewForm::Design;
    QJsonObject object{{"kind", KindName(view.Kind())},
                       {"name", Text(view.Name)},
                       {"revision", QStringLiteral("%1.%2").arg(view.RevisionMajor).arg(view.RevisionMinor)},
                       {"left", view.Left},
                       {"top", view.Top},
                       {"width", view.Width},
                       {"height", view.Height},
                       {"flags", view.Flags},
                       {"frameTyp", view.FrameTyp},
                       {"frameWidth", view.FrameWidth},
                       {"frameColor", static_cast<qint64>(view.FrameColor)},
                       {"frameStyle", view.FrameStyle},
                       {"fillColor", static_cast<qint64>(view.FillColor)},
                       {"memo", Lines(view.Memo)},
                       {"restrictions", view.Restrictions},
                       {"tag", Text(view.Tag)},
                       {"gapX", view.GapX},
                       {"gapY", view.GapY},
                       {"bandAlign", view.BandAlign}};
    if (design) {
        object.insert("format", static_cast<qint64>(view.Format));
        object.insert("formatString", Text(view.FormatString));
        object.insert("script", Lines(view.Script));
        object.insert("visible", view.Visible);
    }
    switch (view.Kind()) {
        case ObjectKind::Memo: {
            const auto& memo = static_cast<const TfrMemoView&>(view);
            object.insert("font", QJsonObject{{"name", Text(memo.Font.Name)},
                                              {"size", memo.Font.Size},
                                              {"style", memo.Font.Style},
                                              {"color", static_cast<qint64>(memo.Font.Color)},
                                              {"charset", memo.Font.Charset}});
            object.insert("alignment", memo.Alignment);
            if (design) {
                object.insert("highlight", QJsonObject{{"style", memo.HighlightStyle},
                                                       {"color", static_cast<qint64>(memo.HighlightColor)},
                                                       {"fill", static_cast<qint64>(memo.HighlightFill)},
                                                       {"condition", Text(memo.HighlightCondition)}});
            }
            object.insert("lineSpacing", memo.LineSpacing);
            object.insert("charSpacing", memo.CharSpacing);
            break;
        }
        case ObjectKind::Band: {
            const auto& band = static_cast<const TfrBandView&>(view);
            object.insert("bandType", QString::fromLatin1(BandTypeName(band.Type())));
            object.insert("childBand", Text(band.ChildBand));
            object.insert("columns", band.Columns);
            object.insert("columnWidth", band.ColumnWidth);
            object.insert("columnGap", band.ColumnGap);
            object.insert("newColumnAfter", band.NewColumnAfter);
            object.insert("master", Text(band.Master));
            break;
        }
        case ObjectKind::Line:
        case ObjectKind::Picture:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
    return object;
}

QJsonObject TemplateJson(const ReportTemplate& report, int version) {
    QJsonArray pages;
    for (const TfrPage& page : report.Pages) pages.append(PageJson(page));
    const ReportInfo& info = report.Info;
    return {{"header", QJsonObject{{"version", version},
                                   {"printToDefault", report.PrintToDefault},
                                   {"doublePassReport", report.DoublePassReport},
                                   {"printerName", Text(report.PrinterName)}}},
            {"pages", pages},
            {"variables", Pairs(report.Variables.Variables)},
            {"fieldAliases", Pairs(report.Variables.FieldAliases)},
            {"bandDataSources", Pairs(report.Variables.BandDataSources)},
            {"info",
             QJsonObject{{"comment", Text(info.Comment)},
                         {"name", Text(info.Name)},
                         {"author", Text(info.Author)},
                         {"versionMajor", Text(info.VersionMajor)},
                         {"versionMinor", Text(info.VersionMinor)},
                         {"versionRelease", Text(info.VersionRelease)},
                         {"versionBuild", Text(info.VersionBuild)},
                         {"password", QString::fromLatin1(QByteArray::fromStdString(info.Password).toHex().toUpper())},
                         {"protection", info.Protection},
                         {"created", info.Created},
                         {"createdText", DateTimeText(info.Created)},
                         {"lastChange", info.LastChange},
                         {"lastChangeText", DateTimeText(info.LastChange)}}}};
}

RunResult WritePreparedPagesJson(TfrReport& report, QTextStream& out) {
    // The document {"pages": [...], "report": NAME} as QJsonDocument indents it, written a page at
    // a time: the JSON of every page at once takes many times the prepared pages' memory.
    out << "{\n    \"pages\": [\n";
    for (int index = 0; index < report.EMFPages.Count(); ++index) {
        const PreparedPage& page = report.EMFPages[index];
        QJsonArray objects;
        const RunResult read = report.EMFPages.ExportPage(
            index, [&objects](const TfrView& view) { objects.append(ViewJson(view, ViewForm::Printing)); });
        if (!read.IsDone()) return read;
        const QJsonObject json{
            {"size", page.Size},
            {"paperWidth", page.PaperWidth},
            {"paperHeight", page.PaperHeight},
            {"orientation", page.Orientation},
            {"bin", page.Bin},
            {"useMargins", page.UseMargins},
            {"margins", Margins(page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin)},
            {"metrics", PageMetricsJson(page.Metrics)},
            {"objects", objects}};
        // Two levels deeper than a document of its own; a text's line breaks are escaped, so
        // every line break is the layout's.
        QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Indented);
        text.chop(1);
        text.replace('\n', "\n        ");
        if (index > 0) out << ",\n";
        out << "        " << text;
    }
    if (report.EMFPages.Count() > 0) out << "\n";
    const QByteArray name = QJsonDocument(QJsonArray{Text(report.Name)}).toJson(QJsonDocument::Compact);
    out << "    ],\n    \"report\": " << name.mid(1, name.size() - 2) << "\n}\n";
    return RunResult::Done();
}

}  // namespace quillon
