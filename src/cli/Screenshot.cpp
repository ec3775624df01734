#include "cli/Screenshot.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QPixmap>
#include <QTextStream>

#include "cli/CalcCommand.h"
#include "cli/AnalyseCommand.h"
#include "cli/CommandLine.h"
#include "windows/analysis/DateEdit.h"
#include "windows/report/ReportPages.h"
#include "windows/analysis/Windows.h"
#include "common/SafeSave.h"
#include "common/Scoped.h"
#include "platform/QtPrinterDriver.h"
#include "windows/report/TfrPrintForm.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

// Writes the image as a PNG file through the safe-save writer: a full disk leaves no empty or cut
// file behind, and says why.
bool SavePng(const QImage& image, const QString& path, QTextStream& err) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::optional<std::string> error;
    SafeSave save;
    if (!image.save(&buffer, "PNG")) {
        error = "cannot make the image " + path.toStdString();
    } else if (!(error = save.Open(path.toStdString()))) {
        save.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        error = save.Commit();
    }
    if (error) CommandError(err, kExitFailure, QString::fromStdString(*error));
    return !error;
}

bool Save(QWidget* window, const QDir& dir, const QString& name, QTextStream& err) {
    return SavePng(window->grab().toImage(), dir.filePath(name), err);
}

}  // namespace

int RunScreenshot(const QStringList& arguments, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), {}, QStringLiteral("DIR"));
    const QCommandLineOption data(QStringLiteral("data"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption system(QStringLiteral("system"), {}, QStringLiteral("pythagorean|chaldean"));
    const QCommandLineOption date(QStringLiteral("date"), {}, QStringLiteral("TEXT"));
    parser.addOptions({screenshot, data, system, date});
    if (!parser.parse(arguments)) {
        err << "quillon: " << parser.errorText() << "\n";
        return kExitUsage;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "quillon: --screenshot takes no other arguments: " << parser.positionalArguments().join(' ') << "\n";
        return kExitUsage;
    }
    if (parser.value(screenshot).isEmpty()) {
        err << "quillon: --screenshot needs the folder to write the images to\n";
        return kExitUsage;
    }
    // A date that cannot be read fails here, as it does for analyse, before any window is made.
    if (parser.isSet(date) && !ReadCommandDate(parser.value(date), err)) return kExitFailure;
    QDir dir(parser.value(screenshot));
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "quillon: cannot create the folder " << dir.path() << "\n";
        return kExitFailure;
    }

    // The windows print on the machine's printers, as the program does.
    QtPrinterDriver printers;
    const Scoped<PrinterDriver> bound(printers);
    Windows windows;
    TCalcFrm& window = windows.CalcFrm;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    if (parser.isSet(system)) {
        const auto chosen = LetterSystemFromName(parser.value(system).toStdString());
        if (!chosen) {
            err << "quillon: --system takes pythagorean or chaldean\n";
            return kExitUsage;
        }
        if (*chosen != window.State().letterSystem) window.MthBtnClick();
    }
    // The text arrives as the Paste command brings it; the Y dialog is shown on its own below
    // instead of being asked modally.
    if (parser.isSet(data)) window.PutPastedText(parser.value(data));
    QApplication::processEvents();
    bool ok = Save(&window, dir, QStringLiteral("analysis.png"), err);

    if (window.State().PendingYPosition > 0) {
        windows.YFrm.setAttribute(Qt::WA_DontShowOnScreen);
        windows.YFrm.show();
        QApplication::processEvents();
        ok = Save(&windows.YFrm, dir, QStringLiteral("ydialog.png"), err) && ok;
        windows.YFrm.hide();
    } else {
        err << "quillon: the data holds no Y, so ydialog.png is not written\n";
    }

    window.CalendarBtnClick();
    if (parser.isSet(date)) {
        window.DateEdit->setText(parser.value(date));
        window.DtCalcBtnClick();
    }
    QApplication::processEvents();
    ok = Save(&window, dir, QStringLiteral("date.png"), err) && ok;

    // The links window with its first link as it rests after a click.
    windows.InternetFrm.setAttribute(Qt::WA_DontShowOnScreen);
    windows.InternetFrm.show();
    windows.InternetFrm.OvcURL[0]->MarkVisited();
    QApplication::processEvents();
    ok = Save(&windows.InternetFrm, dir, QStringLiteral("links.png"), err) && ok;
    windows.InternetFrm.hide();
    // The calculator window after a short calculation.
    PlayCalculatorKeys(windows, QStringLiteral("12.5*4="));
    QApplication::processEvents();
    ok = Save(&windows.CalculatorFrm, dir, QStringLiteral("calculator.png"), err) && ok;
    // The help viewer at the start page of the help file that the window found.
    if (HelpViewerWindow* viewer = CurrentHelp().Viewers().WindowFor(window.HelpFilePath())) {
        viewer->setAttribute(Qt::WA_DontShowOnScreen);
        viewer->ShowPage({});
        viewer->show();
        QApplication::processEvents();
        ok = Save(viewer, dir, QStringLiteral("help.png"), err) && ok;
    } else {
        err << "quillon: help.png is not written\n";
        ok = false;
    }

    // The print dialog as it opens, with the machine's printers (or "PDF file" alone).
    {
        TfrPrintForm dialog(EnginePrinter(), PrintRequest{}, &window);
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        dialog.show();
        QApplication::processEvents();
        ok = Save(&dialog, dir, QStringLiteral("print-dialog.png"), err) && ok;
        dialog.hide();
    }

    // The prepared pages of both reports for the data and date now in the window.
    const std::pair<TfrReport*, QString> reports[] = {{&window.frReport1, QStringLiteral("print-page.png")},
                                                      {&window.frReport2, QStringLiteral("export-page.png")}};
    for (const auto& [report, name] : reports) {
        report->ShowProgress = false;
        const RunResult prepared = report->Prepare();
        report->ShowProgress = true;
        if (prepared.IsFailed()) {
            err << "quillon: " << QString::fromStdString(prepared.message) << "\n";
            ok = false;
            continue;
        }
        if (report->EMFPages.Count() == 0) {
            err << "quillon: the report " << QString::fromStdString(report->Name) << " has no page\n";
            ok = false;
            continue;
        }
        // At the screen's pixel ratio, as the windows are grabbed.
        ok = SavePng(RenderPreparedPage(*report, 0, window.devicePixelRatioF()), dir.filePath(name), err) && ok;
    }
    err.flush();
    return ok ? kExitOk : kExitFailure;
}

}  // namespace quillon
