#include "app/TemplateCommands.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include "app/CommandLine.h"
#include "platform/Regional.h"
#include "report/content/TemplateData.h"
#include "report/content/TemplateStream.h"

namespace quillon {
namespace {

// A template stream larger than this is not a template.
constexpr qint64 kMaxTemplateBytes = 64 * 1024 * 1024;

int Fail(QTextStream& err, int code, const QString& message) {
    err << "quillon: " << message << "\n";
    err.flush();
    return code;
}

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

namespace {

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

QJsonObject ObjectJson(const TfrView& view) {
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
                       {"format", static_cast<qint64>(view.Format)},
                       {"formatString", Text(view.FormatString)},
                       {"memo", Lines(view.Memo)},
                       {"script", Lines(view.Script)},
                       {"visible", view.Visible},
                       {"restrictions", view.Restrictions},
                       {"tag", Text(view.Tag)},
                       {"gapX", view.GapX},
                       {"gapY", view.GapY},
                       {"bandAlign", view.BandAlign}};
    switch (view.Kind()) {
        case ObjectKind::Memo: {
            const auto& memo = static_cast<const TfrMemoView&>(view);
            object.insert("font", QJsonObject{{"name", Text(memo.Font.Name)},
                                              {"size", memo.Font.Size},
                                              {"style", memo.Font.Style},
                                              {"color", static_cast<qint64>(memo.Font.Color)},
                                              {"charset", memo.Font.Charset}});
            object.insert("alignment", memo.Alignment);
            object.insert("highlight", QJsonObject{{"style", memo.HighlightStyle},
                                                   {"color", static_cast<qint64>(memo.HighlightColor)},
                                                   {"fill", static_cast<qint64>(memo.HighlightFill)},
                                                   {"condition", Text(memo.HighlightCondition)}});
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

QJsonObject PageJson(const TfrPage& page) {
    QJsonArray objects;
    for (const auto& object : page.Objects) objects.append(ObjectJson(*object));
    return {{"size", page.Size},
            {"paperWidth", page.PaperWidth},
            {"paperHeight", page.PaperHeight},
            {"margins", QJsonArray{page.LeftMargin, page.TopMargin, page.RightMargin, page.BottomMargin}},
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
    for (const TemplateVariable& pair : pairs) array.append(QJsonObject{{"name", Text(pair.Name)}, {"value", Text(pair.Value)}});
    return array;
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
            {"info", QJsonObject{{"comment", Text(info.Comment)},
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

    QSaveFile file(parser.value(output));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(stream->data()), static_cast<qint64>(stream->size())) !=
            static_cast<qint64>(stream->size()) ||
        !file.commit()) {
        return Fail(err, kExitFailure, QStringLiteral("cannot write %1: %2").arg(parser.value(output), file.errorString()));
    }
    return kExitOk;
}

int Show(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 4) return Fail(err, kExitUsage, QStringLiteral("usage: quillon template show FILE"));
    QFile file(arguments[3]);
    if (!file.open(QIODevice::ReadOnly)) {
        return Fail(err, kExitFailure, QStringLiteral("cannot read %1: %2").arg(arguments[3], file.errorString()));
    }
    if (file.size() > kMaxTemplateBytes) return Fail(err, kExitFailure, QStringLiteral("%1 is too large for a template").arg(arguments[3]));
    const QByteArray bytes = file.readAll();
    const std::span<const std::uint8_t> stream(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                               static_cast<std::size_t>(bytes.size()));
    TfrPrinter printer;
    ReportTemplate report;
    const TemplateLoad load = ReadTemplate(stream, report, printer, Now());
    if (!load.ok) return Fail(err, kExitFailure, QString::fromStdString(load.error));
    const int version = stream.empty() ? 0 : std::max<int>(stream[0], 21);
    out << QJsonDocument(TemplateJson(report, version)).toJson(QJsonDocument::Indented);
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
