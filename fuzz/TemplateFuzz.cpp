// libFuzzer target for report templates: any bytes must be read without a crash, a read past the
// end, a hang or unbounded memory, and whatever was read must save to a stream that reads again.
// A template that reads is then used as the Export and Print commands use one: laid out with the
// analysis window's values, exported as RTF (into memory) and drawn page by page on a canvas that
// measures as the fixed canvas does and acts as a 300-dpi printer, all without undefined behaviour.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "report/content/ReportVariables.h"
#include "report/engine/FixedCanvas.h"
#include "report/engine/PrintRun.h"
#include "report/engine/Printer.h"
#include "report/export/ExportRun.h"
#include "report/export/RtfExport.h"
#include "report/format/TemplateStream.h"

namespace {

using namespace quillon;

class MemoryStream final : public ExportStream {
public:
    bool Write(const void*, std::size_t size) override {
        bytes += size;
        return true;
    }
    std::size_t bytes = 0;
};

constexpr int kPrinterDpi = 300;

// A printer's sheet that measures as the fixed canvas does and keeps nothing of what is drawn on
// it: a page may hold millions of ruled lines.
class Sheet final : public Canvas {
public:
    Sheet() { metrics_.ActAsPrinter(kPrinterDpi); }
    void SetFont(const FontSpec& font) override { metrics_.SetFont(font); }
    int FontHeight() const override { return metrics_.FontHeight(); }
    int TextWidth(std::string_view utf8) const override { return metrics_.TextWidth(utf8); }
    void SetCharSpacing(int pixels) override { metrics_.SetCharSpacing(pixels); }
    void SetJustification(int, int) override {}
    void TextOut(int, int, const Rect&, std::string_view, bool) override {}
    void SetPen(Colour, int, PenStyle) override {}
    void SetBrush(Colour) override {}
    void FillRect(const Rect&) override {}
    void Line(int, int, int, int) override {}
    bool IsPrinter() const override { return true; }

private:
    FixedCanvas metrics_;
};

// The sheet of a 300-dpi printer for the page's paper, with 5 mm it cannot print on all round.
DeviceGeometry PrinterSheet(const PreparedPage& page) {
    auto pixels = [](std::int32_t tenthsMm) { return static_cast<int>(std::int64_t{tenthsMm} * kPrinterDpi / 254); };
    DeviceGeometry device;
    device.dotsPerInchX = device.dotsPerInchY = kPrinterDpi;
    device.physicalWidth = pixels(page.Orientation == 1 ? page.PaperHeight : page.PaperWidth);
    device.physicalHeight = pixels(page.Orientation == 1 ? page.PaperWidth : page.PaperHeight);
    const int margin = pixels(50);
    device.printable = {margin, margin, device.physicalWidth - margin, device.physicalHeight - margin};
    return device;
}

const ReportSource& Analysis() {
    static const ReportSource source = [] {
        ReportSource s;
        s.method = "Pythagorean";
        s.data = "MARY 12";
        s.vowels = " 1    ";
        s.consonants = "4 97 ";
        s.vTotal = "1";
        s.cTotal = "20 / 2";
        s.total = "21 / 3";
        s.dates = "29/12/1985";
        s.dateTotal = "37 / 10 / 1";
        s.dateDigitSum = 37;
        s.datePanelVisible = true;
        return s;
    }();
    return source;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TfrPrinter printer;
    TfrReport report(printer, "frReport1");
    if (!report.LoadTemplate(std::span(data, size), 0).IsDone() || report.Template.Pages.empty()) return 0;
    const auto saved = WriteTemplate(report.Template, std::string(kVirtualPrinterMarker), 0);
    ReportTemplate again;
    if (!ReadTemplate(saved, again, 0).ok) std::abort();

    FixedCanvas scratch;
    static const FixedReportLocale locale;
    report.Environment.scratch = &scratch;
    report.Environment.locale = &locale;
    report.Environment.now = [] { return 46000.5; };
    report.ShowProgress = false;
    report.MaxPages = 50;  // a run of many pages is slow, not wrong: the limit itself is tested
    report.OnGetValue = [](const std::string& name, Value& value) {
        value = ToValue(GetReportValue(Analysis(), name));
    };
    if (!report.Prepare().IsDone()) return 0;

    TfrRTFExport writer;
    ConfigureAsExportButton(writer);
    MemoryStream rtf;
    ExportToStream(report, writer, rtf);

    Sheet sheet;
    for (int index = 0; index < report.EMFPages.Count(); ++index) {
        PreparedPage& page = report.EMFPages[index];
        page.Metrics = MetricsOf(PrinterSheet(page));
        page.Visible = true;
        report.EMFPages.DrawPage(index, sheet, scratch, PrintTarget(page));
    }
    return 0;
}
