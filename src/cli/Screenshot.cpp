#include "cli/Screenshot.h"

#include <sys/stat.h>

#include <QApplication>
#include <QBuffer>
#include <QPixmap>
#include <QTextStream>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "cli/CalcCommand.h"
#include "cli/CommandError.h"
#include "cli/CommandTable.h"
#include "cli/OptionReaders.h"
#include "common/SafeSave.h"
#include "common/Scoped.h"
#include "platform/QtPrinterDriver.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Windows.h"
#include "windows/help/HelpService.h"
#include "windows/report/ReportPages.h"
#include "windows/report/TfrPrintForm.h"

namespace quillon {
namespace {

// Writes the image as a PNG file through the safe-save writer: a full disk leaves no empty or cut
// file behind, and says why.
bool SavePng(const QImage& image, const std::string& path, QTextStream& err) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<std::string> error;
    SafeSave save;
    if (!image.save(&buffer, "PNG")) {
        error = "cannot make the image " + path;
    } else if (!(error = save.Open(path))) {
        save.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        error = save.Commit();
    }
    if (error) CommandError(err, ErrorKind::Failure, MessageText(*error));
    return !error;
}

// The folder's name as bytes, so that a name that is no UTF-8 is its own folder.
std::string InFolder(const std::string& folder, const char* name) { return folder + "/" + name; }

bool Save(QWidget* window, const std::string& folder, const char* name, QTextStream& err) {
    return SavePng(window->grab().toImage(), InFolder(folder, name), err);
}

// Makes the folder and those above it that are missing; false with errno set when one cannot be.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode)) errno = ENOTDIR;
    return S_ISDIR(info.st_mode);
}

QWidget* ShownOffScreen(QWidget& window) {
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    return &window;
}

// One image: the window brought into the state it is shown in.
struct Shot {
    enum class Afterwards { Stay, Hide };

    const char* file;
    // Readies the window and returns it; null when there is none to show.
    std::function<QWidget*()> show;
    Afterwards afterwards = Afterwards::Stay;
    // Why the image is missing when there is no window, and whether that fails the run.
    const char* missing = "";
    bool missingFails = false;
};

}  // namespace

int RunScreenshot(const QStringList& arguments, QTextStream& err) {
    CommandMessages messages(err);
    const ScopedMessages messagesToErr(messages);
    CommandArguments options(arguments, ScreenshotOptions(), 0);
    if (const int code = options.Parse(QStringLiteral("--screenshot"), err); code != kExitOk) return code;
    if (!options.Words().isEmpty()) {
        return CommandError(
            err, ErrorKind::Usage,
            QStringLiteral("--screenshot takes no other arguments: %1").arg(options.Words().join(QLatin1Char(' '))));
    }
    const QString folderName = options.FileValue(kScreenshotOption);
    const std::string folder = FileNameBytes(folderName);
    if (folder.empty()) {
        return CommandError(err, ErrorKind::Usage,
                            QStringLiteral("--screenshot needs the folder to write the images to"));
    }
    // The system and the date are read as analyse reads them, before any window is made.
    LetterSystem system = LetterSystem::Pythagorean;
    if (const int code = ReadSystem(options, system, err); code != kExitOk) return code;
    const std::optional<QString> date =
        options.IsSet(kDateOption) ? std::optional(options.Value(kDateOption)) : std::nullopt;
    if (date && !ReadCommandDate(*date, err)) return kExitUsage;
    if (!MakeFolders(folder)) {
        return CommandError(err, ErrorKind::Failure,
                            QStringLiteral("cannot create the folder %1: %2")
                                .arg(folderName, QString::fromLocal8Bit(std::strerror(errno))));
    }

    // The windows print on the machine's printers, as the program does.
    QtPrinterDriver printers;
    const Scoped<PrinterDriver> bound(printers);
    Windows windows;
    TCalcFrm& window = windows.CalcFrm;
    ShownOffScreen(window);
    if (options.IsSet(kSystemOption) && system != window.State().letterSystem) window.MthBtnClick();
    // Always set, so that the pictures do not depend on the choice a person has stored.
    window.SetFoldAccents(FoldAccentsOf(options));
    // The text arrives as the Paste command brings it; the Y dialog is shown on its own below
    // instead of being asked modally.
    if (options.IsSet(kDataOption)) window.PutPastedText(options.Value(kDataOption));

    std::unique_ptr<TfrPrintForm> printDialog;
    const Shot shots[] = {
        {"analysis.png", [&] { return &window; }},
        {"ydialog.png",
         [&]() -> QWidget* { return window.State().PendingYPosition > 0 ? ShownOffScreen(windows.YFrm) : nullptr; },
         Shot::Afterwards::Hide, "the data holds no Y, so ydialog.png is not written", false},
        {"date.png",
         [&] {
             window.CalendarBtnClick();
             if (date) {
                 window.DateEdit->setText(*date);
                 window.DtCalcBtnClick();
             }
             return &window;
         }},
        // The links window with its first link as it rests after a click.
        {"links.png",
         [&] {
             ShownOffScreen(windows.InternetFrm);
             windows.InternetFrm.OvcURL[0]->MarkVisited();
             return &windows.InternetFrm;
         },
         Shot::Afterwards::Hide},
        // The calculator window after a short calculation.
        {"calculator.png",
         [&] {
             PlayCalculatorKeys(windows, QStringLiteral("12.5*4="));
             return &windows.CalculatorFrm;
         }},
        // The help viewer at the start page of the help file that the window found.
        {"help.png",
         [&]() -> QWidget* {
             HelpViewerWindow* viewer = CurrentHelp().Viewers().WindowFor(window.HelpFilePath());
             if (!viewer) return nullptr;
             viewer->setAttribute(Qt::WA_DontShowOnScreen);
             viewer->ShowPage({});
             viewer->show();
             return viewer;
         },
         Shot::Afterwards::Stay, "help.png is not written", true},
        // The print dialog as it opens, with the machine's printers (or "PDF file" alone).
        {"print-dialog.png",
         [&] {
             printDialog = std::make_unique<TfrPrintForm>(EnginePrinter(), PrintRequest{}, &window);
             return ShownOffScreen(*printDialog);
         },
         Shot::Afterwards::Hide},
    };
    bool ok = true;
    for (const Shot& shot : shots) {
        QWidget* const shown = shot.show();
        if (!shown) {
            CommandNote(err, QString::fromLatin1(shot.missing));
            ok = ok && !shot.missingFails;
            continue;
        }
        QApplication::processEvents();
        ok = Save(shown, folder, shot.file, err) && ok;
        if (shot.afterwards == Shot::Afterwards::Hide) shown->hide();
    }
    printDialog.reset();

    // The prepared pages of both reports for the data and date now in the window.
    const std::pair<TfrReport*, const char*> reports[] = {{&window.frReport1, "print-page.png"},
                                                          {&window.frReport2, "export-page.png"}};
    for (const auto& [report, name] : reports) {
        report->ShowProgress = false;
        const RunResult prepared = report->Prepare();
        report->ShowProgress = true;
        if (prepared.IsFailed()) {
            CommandNote(err, QString::fromStdString(prepared.message));
            ok = false;
            continue;
        }
        if (report->EMFPages.Count() == 0) {
            CommandNote(err, QStringLiteral("the report %1 has no page").arg(QString::fromStdString(report->Name)));
            ok = false;
            continue;
        }
        // At the screen's pixel ratio, as the windows are grabbed.
        ok = SavePng(RenderPreparedPage(*report, 0, window.devicePixelRatioF()), InFolder(folder, name), err) && ok;
    }
    err.flush();
    return ok ? kExitOk : kExitFailure;
}

}  // namespace quillon
