#include "platform/QtPrinterDriver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "common/SafeSave.h"
#include "common/TemporaryFiles.h"
#include "platform/CupsJobs.h"
#include "platform/QtCanvas.h"
#include "report/engine/Printer.h"

namespace quillon {
namespace {

std::string Text(const QString& text) { return text.toStdString(); }

// The system's reason at the end of a saving message ("Cannot create file F: No space left on
// device"): the reasons have no colon of their own.
std::string ReasonOf(const std::string& message) {
    const auto colon = message.rfind(": ");
    return colon == std::string::npos ? message : message.substr(colon + 2);
}

// Qt's printing draws at 1200 dots per inch; a PDF file's sheets are drawn the same way.
constexpr int kPdfResolution = 1200;

// While it lives, the toolkit's printing and the spooler's library make their temporary files in
// the driver's private folder: the library copies a printer's description into the temporary
// folder each time a printer is bound, and a signal at that moment used to leave the copy behind.
class TemporaryFilesIn {
public:
    explicit TemporaryFilesIn(const std::string& folder)
        : had_(qEnvironmentVariableIsSet("TMPDIR")), previous_(qgetenv("TMPDIR")), set_(!folder.empty()) {
        if (set_) qputenv("TMPDIR", QByteArray::fromStdString(folder));
    }
    ~TemporaryFilesIn() {
        if (!set_) return;
        if (had_) {
            qputenv("TMPDIR", previous_);
        } else {
            qunsetenv("TMPDIR");
        }
    }
    TemporaryFilesIn(const TemporaryFilesIn&) = delete;
    TemporaryFilesIn& operator=(const TemporaryFilesIn&) = delete;

private:
    bool had_;
    QByteArray previous_;
    bool set_;
};

// The device Qt's PDF writer writes a job into: every write goes through the safe-save writer,
// which checks it, so that a full disk is known (with the system's reason) instead of ending in
// a PDF without its end.
class JobDevice final : public QIODevice {
public:
    explicit JobDevice(SafeSave& save) : save_(save) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }
    qint64 Written() const { return written_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!save_.Write(data, static_cast<std::size_t>(size))) return -1;
        written_ += size;
        return size;
    }

private:
    SafeSave& save_;
    qint64 written_ = 0;
};

// A job drawn by Qt's PDF writer into a file of the driver's private folder. At its end the file,
// complete, on the disk and of the size written, either replaces its target through the
// safe-save writer or goes to the printer's spooler as one job; a job given up is a file deleted,
// so nothing of it reaches a file or the spooler. (Qt's own CUPS job hands its pages to the
// spooler when its painter ends, even after an abort.)
class QtPrintJob final : public PrintJob {
public:
    struct Target {
        std::string pdfFile;  // the file the sheets go to, or empty
        std::string printer;  // else the printer whose spooler gets them
        std::string title;
        std::vector<std::pair<std::string, std::string>> options;  // the spooler's job options
    };

    QtPrintJob(std::string folder, Target target, std::string& lastError)
        : folder_(std::move(folder)), file_(folder_ + "/job.pdf"), target_(std::move(target)), lastError_(lastError) {}

    ~QtPrintJob() override { Abort(); }

    // Opens the job's file and starts drawing; false (and the error said) when it cannot.
    bool Start(const QPageLayout& layout, int resolution) {
        if (auto error = save_.Open(file_)) return Failed(ReasonOf(*error));
        device_ = std::make_unique<JobDevice>(save_);
        writer_ = std::make_unique<QPdfWriter>(device_.get());
        writer_->setResolution(resolution);
        writer_->setPageLayout(layout);
        writer_->setTitle(QString::fromStdString(target_.title));
        writer_->setCreator(QStringLiteral("Quillon"));
        canvas_ = std::make_unique<QtCanvas>(writer_.get(), true);
        if (canvas_->Painter().isActive()) return true;
        lastError_ = "The print job could not be started";
        return false;
    }

    Canvas& Sheet() override { return *canvas_; }
    bool NewSheet() override {
        if (writer_->newPage()) return true;
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
        writer_->setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0)));
        return NewSheet();
    }
    void Abort() override {
        if (!canvas_) return;
        canvas_->Painter().end();
        canvas_.reset();
        save_.Abandon();
    }
    bool End() override {
        const bool painted = canvas_->Painter().end();
        canvas_.reset();
        if (auto failure = save_.WriteFailure()) return Failed(ReasonOf(*failure));
        if (!painted) {
            lastError_ = "The print job could not be handed to the printer";
            return false;
        }
        if (auto error = save_.Commit()) return Failed(ReasonOf(*error));
        // What the disk holds is what was written, before anything of it goes on.
        struct stat written {};
        if (::stat(file_.c_str(), &written) != 0) return Failed(std::strerror(errno));
        if (written.st_size != device_->Written())
            return Failed("the file holds " + std::to_string(written.st_size) + " of " +
                          std::to_string(device_->Written()) + " bytes");
        const bool handed = target_.printer.empty() ? HandOverPdf() : SubmitToSpooler();
        ::unlink(file_.c_str());
        return handed;
    }

private:
    bool Failed(const std::string& reason) {
        save_.Abandon();
        lastError_ = "The print job cannot be written in " + folder_ + ": " + reason;
        return false;
    }

    bool SubmitToSpooler() {
        TemporaryFilesIn privateFolder(folder_);
        if (auto error = SubmitPdfJob(target_.printer, file_, target_.title, target_.options)) {
            lastError_ = *error;
            return false;
        }
        return true;
    }

    // The finished PDF replaces its target through the safe-save writer.
    bool HandOverPdf() {
        QFile written(QString::fromStdString(file_));
        if (!written.open(QIODevice::ReadOnly)) {
            lastError_ = std::string(kStreamWriteError) + ": " + Text(written.errorString());
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

    std::string folder_;
    std::string file_;
    Target target_;
    std::string& lastError_;
    SafeSave save_;
    std::unique_ptr<JobDevice> device_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QtCanvas> canvas_;
};

// Why a paper cannot be printed on: its size, or its code when it names no size.
std::string PaperProblem(const Paper& paper) {
    if (paper.Code != kCustomPaper)
        return "The report's paper (code " + std::to_string(paper.Code) + ") cannot be printed";
    const auto millimetres = [](std::int32_t tenths) {
        std::string text = std::to_string(tenths / 10);
        if (tenths % 10 != 0) text += "." + std::to_string(std::abs(tenths % 10));
        return text;
    };
    return "The report's paper of " + millimetres(paper.Width) + " \u00d7 " + millimetres(paper.Height) +
           " mm cannot be printed";
}

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

QtPrinterDriver::~QtPrinterDriver() {
    printers_.clear();
    if (!folder_.empty()) RemoveTemporaryFolder(folder_);
}

bool QtPrinterDriver::PrivateFolder() {
    if (folder_.empty()) {
        folder_ = CreateTemporaryFolder(TemporaryFolderPath(), "quillon-print-");
        folderError_ = folder_.empty() ? errno : 0;
    }
    return !folder_.empty();
}

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
    PrivateFolder();
    TemporaryFilesIn privateFolder(folder_);
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
    if (!printer || !size.isValid()) {
        lastError_ = printer ? PaperProblem(paper) : "There is no printer \"" + name + "\"";
        return std::nullopt;
    }
    const auto orientation = paper.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (!printer->setPageSize(size) || !printer->setPageOrientation(orientation)) return std::nullopt;
    // The printer may have taken a size close to the one asked for; a standard paper must be that
    // paper exactly.
    if (paper.Code != kCustomPaper && printer->pageLayout().pageSize().windowsId() != size.windowsId())
        return std::nullopt;
    printer->setCopyCount(1);
    return StateOf(*printer);
}

bool QtPrinterDriver::Properties(const std::string& name) {
    QPrinter* printer = PrinterFor(name);
    if (!printer) return false;
    // The dialog works on a copy; the printer takes the changes only when they are confirmed.
    TemporaryFilesIn privateFolder(folder_);
    QPrinter copy(QPrinterInfo::printerInfo(QString::fromStdString(name)), QPrinter::HighResolution);
    copy.setPageLayout(printer->pageLayout());
    QPageSetupDialog dialog(&copy);
    if (dialog.exec() != QDialog::Accepted) return false;
    printer->setPageLayout(copy.pageLayout());
    return true;
}

std::optional<PrinterState> QtPrinterDriver::PdfSettings(const Paper& paper) {
    const QPageSize size = PageSizeFor(paper);
    if (!size.isValid()) {
        lastError_ = PaperProblem(paper);
        return std::nullopt;
    }
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
    if (!PrivateFolder()) {
        lastError_ = "The print job cannot be written in " + TemporaryFolderPath() + ": " + std::strerror(folderError_);
        return nullptr;
    }
    auto job = std::make_unique<QtPrintJob>(folder_, std::move(target), lastError_);
    if (!job->Start(layout, resolution > 0 ? resolution : kPdfResolution)) return nullptr;
    return job;
}

}  // namespace quillon
