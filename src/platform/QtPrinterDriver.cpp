#include "platform/QtPrinterDriver.h"

#include <unistd.h>

#include <QFile>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <cmath>

#include "common/SafeSave.h"
#include "common/TemporaryFiles.h"
#include "platform/CupsJobs.h"
#include "platform/QtCanvas.h"
#include "report/engine/Printer.h"

namespace quillon {
namespace {

std::string Text(const QString& text) { return text.toStdString(); }

// A job drawn by Qt's PDF writer into a private temporary file. At its end the file either
// replaces its target through the safe-save writer or goes to the printer's spooler as one job;
// a job given up is a file deleted, so nothing of it reaches a file or the spooler. (Qt's own
// CUPS job hands its pages to the spooler when its painter ends, even after an abort.)
class QtPrintJob final : public PrintJob {
public:
    struct Target {
        std::string pdfFile;  // the file the sheets go to, or empty
        std::string printer;  // else the printer whose spooler gets them
        std::string title;
        std::vector<std::pair<std::string, std::string>> options;  // the spooler's job options
    };

    QtPrintJob(std::unique_ptr<QPrinter> printer, std::unique_ptr<QTemporaryFile> file, Target target,
               std::string& lastError)
        : printer_(std::move(printer)),
          file_(std::move(file)),
          target_(std::move(target)),
          lastError_(lastError),
          fileName_(file_->fileName().toLocal8Bit()),
          canvas_(std::make_unique<QtCanvas>(printer_.get(), true)) {
        RememberTemporaryFile(fileName_.constData());
    }

    ~QtPrintJob() override {
        Abort();
        ForgetTemporaryFile(fileName_.constData());
    }

    bool Started() const { return canvas_->Painter().isActive(); }
    Canvas& Sheet() override { return *canvas_; }
    bool NewSheet() override {
        if (printer_->newPage()) return true;
        lastError_ = "The printer took no new page";
        return false;
    }
    bool NewSheetOfPaper(const Paper& paper) override {
        const QPageSize size = PageSizeFor(paper);
        if (!target_.printer.empty() || !size.isValid()) {
            lastError_ = "A print job has one paper";
            return false;
        }
        const auto orientation = paper.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
        printer_->setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0)));
        return NewSheet();
    }
    void Abort() override {
        if (!canvas_) return;
        canvas_->Painter().end();
        canvas_.reset();
        file_.reset();
    }
    bool End() override {
        const bool painted = canvas_->Painter().end();
        canvas_.reset();
        if (!painted || printer_->printerState() == QPrinter::Error) {
            lastError_ = "The print job could not be handed to the printer";
            return false;
        }
        if (target_.printer.empty()) return HandOverPdf();
        if (auto error = SubmitPdfJob(target_.printer, file_->fileName().toStdString(), target_.title, target_.options)) {
            lastError_ = *error;
            return false;
        }
        return true;
    }

private:
    // The finished PDF replaces its target through the safe-save writer.
    bool HandOverPdf() {
        QFile written(file_->fileName());
        if (!written.open(QIODevice::ReadOnly)) {
            lastError_ = std::string(kStreamWriteError);
            return false;
        }
        SafeSave save;
        // "-" is standard output, as for every file the program writes.
        if (auto error = target_.pdfFile == "-" ? save.OpenStandardOutput() : save.Open(target_.pdfFile)) {
            lastError_ = *error;
            return false;
        }
        while (!written.atEnd()) {
            const QByteArray block = written.read(1 << 16);
            if (block.isEmpty() || !save.Write(block.constData(), static_cast<std::size_t>(block.size()))) break;
        }
        if (auto error = save.Commit()) {
            lastError_ = *error;
            return false;
        }
        return true;
    }

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QTemporaryFile> file_;
    Target target_;
    std::string& lastError_;
    QByteArray fileName_;  // for a signal that ends the program while the job is drawn
    std::unique_ptr<QtCanvas> canvas_;
};

// Paper sizes are kept in tenths of a millimetre.
std::int32_t TenthsMm(double millimetres) { return static_cast<std::int32_t>(std::lround(millimetres * 10)); }

}  // namespace

QPageSize PageSizeFor(const Paper& paper) {
    if (paper.Code != kCustomPaper) {
        const QPageSize::PageSizeId id = QPageSize::id(paper.Code);
        if (id != QPageSize::Custom) return QPageSize(id);
        if (const PaperSize* known = FindPaperSize(paper.Code)) {
            return QPageSize(QSizeF(known->Width / 10.0, known->Height / 10.0), QPageSize::Millimeter);
        }
        return QPageSize();
    }
    // A custom paper is given as it lies: its portrait size is the smaller side across.
    const double width = std::min(paper.Width, paper.Height) / 10.0;
    const double height = std::max(paper.Width, paper.Height) / 10.0;
    if (width <= 0) return QPageSize();
    return QPageSize(QSizeF(width, height), QPageSize::Millimeter);
}

PrinterState StateOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    PrinterState state;
    const int code = layout.pageSize().windowsId();
    state.paper.Code = code > 0 && FindPaperSize(code) ? code : kCustomPaper;
    const QRectF sheet = layout.fullRect(QPageLayout::Millimeter);
    state.paper.Width = TenthsMm(sheet.width());
    state.paper.Height = TenthsMm(sheet.height());
    state.paper.Orientation = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
    state.device.dotsPerInchX = state.device.dotsPerInchY = dpi;
    state.device.physicalWidth = full.width();
    state.device.physicalHeight = full.height();
    state.device.printable = {paint.left(), paint.top(), paint.left() + paint.width(), paint.top() + paint.height()};
    state.makesCopies = printer.supportsMultipleCopies();
    return state;
}

QtPrinterDriver::QtPrinterDriver() = default;
QtPrinterDriver::~QtPrinterDriver() = default;

std::vector<std::string> QtPrinterDriver::PrinterNames() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(Text(name));
    return names;
}

std::optional<std::string> QtPrinterDriver::DefaultPrinter() {
    const QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) return std::nullopt;
    return Text(name);
}

QPrinter* QtPrinterDriver::PrinterFor(const std::string& name) {
    if (const auto found = printers_.find(name); found != printers_.end()) return found->second.get();
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull()) return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid()) return nullptr;
    return printers_.emplace(name, std::move(printer)).first->second.get();
}

std::optional<PrinterState> QtPrinterDriver::ReadSettings(const std::string& name) {
    QPrinter* printer = PrinterFor(name);
    if (!printer) {
        lastError_ = "The settings of the printer \"" + name + "\" cannot be read";
        return std::nullopt;
    }
    return StateOf(*printer);
}

std::optional<PrinterState> QtPrinterDriver::SetPaper(const std::string& name, const Paper& paper) {
    QPrinter* printer = PrinterFor(name);
    const QPageSize size = PageSizeFor(paper);
    if (!printer || !size.isValid()) return std::nullopt;
    const auto orientation = paper.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (!printer->setPageSize(size) || !printer->setPageOrientation(orientation)) return std::nullopt;
    // The printer may have taken a size close to the one asked for; a standard paper must be that
    // paper exactly.
    if (paper.Code != kCustomPaper && printer->pageLayout().pageSize().windowsId() != size.windowsId()) return std::nullopt;
    printer->setCopyCount(1);
    return StateOf(*printer);
}

bool QtPrinterDriver::Properties(const std::string& name) {
    QPrinter* printer = PrinterFor(name);
    if (!printer) return false;
    // The dialog works on a copy; the printer takes the changes only when they are confirmed.
    QPrinter copy(QPrinterInfo::printerInfo(QString::fromStdString(name)), QPrinter::HighResolution);
    copy.setPageLayout(printer->pageLayout());
    QPageSetupDialog dialog(&copy);
    if (dialog.exec() != QDialog::Accepted) return false;
    printer->setPageLayout(copy.pageLayout());
    return true;
}

std::optional<PrinterState> QtPrinterDriver::PdfSettings(const Paper& paper) {
    const QPageSize size = PageSizeFor(paper);
    if (!size.isValid()) return std::nullopt;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(QPageLayout(size, paper.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0)));
    PrinterState state = StateOf(pdf);
    state.paper.Code = paper.Code;
    state.paper.Bin = paper.Bin;
    return state;
}

std::unique_ptr<PrintJob> QtPrinterDriver::StartJob(const std::string& name, const JobOptions& options) {
    lastError_.clear();
    QtPrintJob::Target target;
    target.title = options.title;
    QPageLayout layout;
    int resolution = 0;
    if (options.pdfFile) {
        const QPageSize size = PageSizeFor(options.paper);
        if (!size.isValid()) {
            lastError_ = std::string(kCannotCreateFile) + *options.pdfFile;
            return nullptr;
        }
        target.pdfFile = *options.pdfFile;
        layout = QPageLayout(size, options.paper.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    } else {
        const QPrinter* printer = PrinterFor(name);
        if (!printer) {
            lastError_ = "There is no printer \"" + name + "\"";
            return nullptr;
        }
        // The sheets are drawn as the printer's own job would draw them: its page layout (the
        // printable area included) at its resolution, and handed over with the options the
        // toolkit's job would give the spooler.
        target.printer = name;
        layout = printer->pageLayout();
        resolution = printer->resolution();
        target.options.emplace_back("media", layout.pageSize().key().toStdString());
        if (options.copies > 1) target.options.emplace_back("copies", std::to_string(options.copies));
        if (layout.orientation() == QPageLayout::Landscape) target.options.emplace_back("landscape", "");
    }
    auto file = std::make_unique<QTemporaryFile>();
    if (!file->open()) {
        lastError_ = std::string(kCannotCreateFile) + (options.pdfFile ? *options.pdfFile : file->fileTemplate().toStdString());
        return nullptr;
    }
    file->close();
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(file->fileName());
    if (resolution > 0) pdf->setResolution(resolution);
    pdf->setPageLayout(layout);
    pdf->setDocName(QString::fromStdString(options.title));
    auto job = std::make_unique<QtPrintJob>(std::move(pdf), std::move(file), std::move(target), lastError_);
    if (!job->Started()) {
        lastError_ = "The print job could not be started";
        return nullptr;
    }
    return job;
}

}  // namespace quillon
