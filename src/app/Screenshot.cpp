#include "app/Screenshot.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QPixmap>
#include <QTextStream>

#include "app/CommandLine.h"
#include "app/Numb.h"

namespace quillon {
namespace {

bool Save(QWidget* window, const QDir& dir, const QString& name, QTextStream& err) {
    const QString path = dir.filePath(name);
    if (!window->grab().save(path, "PNG")) {
        err << "quillon: cannot write " << path << "\n";
        return false;
    }
    return true;
}

}  // namespace

int RunScreenshot(const QStringList& arguments, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption screenshot(QStringLiteral("screenshot"), {}, QStringLiteral("DIR"));
    const QCommandLineOption data(QStringLiteral("data"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption system(QStringLiteral("system"), {}, QStringLiteral("pythagorean|chaldean"));
    parser.addOptions({screenshot, data, system});
    if (!parser.parse(arguments)) {
        err << "quillon: " << parser.errorText() << "\n";
        return kExitUsage;
    }
    QDir dir(parser.value(screenshot));
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "quillon: cannot create the folder " << dir.path() << "\n";
        return kExitFailure;
    }

    TCalcFrm window;
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
    if (parser.isSet(data)) window.EnterPastedText(parser.value(data));
    QApplication::processEvents();

    const bool ok = Save(&window, dir, QStringLiteral("analysis.png"), err);
    err.flush();
    return ok ? kExitOk : kExitFailure;
}

}  // namespace quillon
