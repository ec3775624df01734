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
#include "platform/QtCanvas.h"
#include "report/engine/Printer.h"

namespace quillon {
namespace {

std::string Text(const QString& text) { return text.toStdString(); }

// A job on a QPrinter: the painter begins the job, every sheet after the first is a new page.
// A PDF job writes a private temporary file and hands it to the safe-save writer at the end.
class QtPrintJob final : public PrintJob {
public:
    QtPrintJob(QPrinter& printer, std::unique_ptr<QPrinter> ownPrinter, std::unique_ptr<QTemporaryFile> pdf,
               std::string pdfTarget, std::string& lastError)
        : printer_(printer),
          ownPrinter_(std::move(ownPrinter)),
          pdf_(std::move(pdf)),
          pdfTarget_(std::move(pdfTarget)),
          lastError_(lastError),
          canvas_(std::make_unique<QtCanvas>(&printer_, true)) {}

    ~QtPrintJob() override {
        if (canvas_) Abort();
    }

    bool Started() const { return canvas_->Painter().isActive(); }
    Canvas& Sheet() override { return *canvas_; }
    bool NewSheet() override {
        if (printer_.newPage()) return true;
        lastError_ = "The printer took no new page";
        return false;
    }
    void Abort() override {
        printer_.abort();
        canvas_.reset();
    }
    bool End() override {
        const bool painted = canvas_->Painter().end();
        canvas_.reset();
        if (!painted || printer_.printerState() == QPrinter::Error) {
            lastError_ = "The print job could not be handed to the printer";
            return false;
        }
        if (pdf_) return HandOverPdf();
        return true;
    }

private:
    // The finished PDF replaces its target through the safe-save writer.
    bool HandOverPdf() {
        QFile written(pdf_->fileName());
        if (!written.open(QIODevice::ReadOnly)) {
            lastError_ = std::string(kStreamWriteError);
            return false;
        }
        SafeSave save;
        if (auto error = save.Open(pdfTarget_)) {
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

    QPrinter& printer_;
    std::unique_ptr<QPrinter> ownPrinter_;
    std::unique_ptr<QTemporaryFile> pdf_;
    std::string pdfTarget_;
    std::string& lastError_;
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
    std::unique_ptr<QPrinter> own;
    std::unique_ptr<QTemporaryFile> pdf;
    QPrinter* printer = nullptr;
    if (options.pdfFile) {
        const QPageSize size = PageSizeFor(options.paper);
        pdf = std::make_unique<QTemporaryFile>();
        if (!size.isValid() || !pdf->open()) {
            lastError_ = std::string(kCannotCreateFile) + *options.pdfFile;
            return nullptr;
        }
        pdf->close();
        own = std::make_unique<QPrinter>(QPrinter::HighResolution);
        own->setOutputFormat(QPrinter::PdfFormat);
        own->setOutputFileName(pdf->fileName());
        own->setPageLayout(QPageLayout(size, options.paper.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                                       QMarginsF(0, 0, 0, 0)));
        printer = own.get();
    } else {
        printer = PrinterFor(name);
        if (!printer) {
            lastError_ = "There is no printer \"" + name + "\"";
            return nullptr;
        }
        printer->setCopyCount(options.copies);
        printer->setCollateCopies(false);
    }
    printer->setDocName(QString::fromStdString(options.title));
    auto job = std::make_unique<QtPrintJob>(*printer, std::move(own), std::move(pdf), options.pdfFile.value_or(""), lastError_);
    if (!job->Started()) {
        lastError_ = "The print job could not be started";
        return nullptr;
    }
    return job;
}

}  // namespace quillon
