// Quillon's entry point: the analysis window, or a command answered without a window.

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/Screenshot.h"
#include "app/Windows.h"
#include "platform/QtMessages.h"
#include "tools/HelpService.h"

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Whether a window system can be reached: a platform chosen by QT_QPA_PLATFORM, or an X or
// Wayland display.
bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The application title is "Quillon". It is deliberately not set as the display name as well: Qt
// would append it to every window caption.
void SetNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.41"));
}

}  // namespace

int main(int argc, char** argv) {
    // The help service starts before any window: it loads the help library, records the
    // environment and resets its log. "-debug" and "/debug" are its switches; the rest of the
    // program does not see them.
    const QStringList givenArguments = ArgumentsOf(argc, argv);
    quillon::HelpService help(quillon::HelpStartup{givenArguments});
    quillon::ScopedHelpService helpInstalled(help);
    const QStringList arguments = quillon::WithoutDebugSwitches(givenArguments);
    QTextStream out(stdout);
    QTextStream err(stderr);

    switch (quillon::ModeOf(arguments)) {
        case quillon::StartMode::CommandLine: {
            // Export measures text with the window's fonts and help may open its viewer, which
            // needs a widgets application; without a display they run off-screen.
            if (arguments.value(1) == QLatin1String("export") || arguments.value(1) == QLatin1String("help")) {
                if (!HasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
                QApplication app(argc, argv);
                SetNames();
                return quillon::RunCommandLine(arguments, out, err);
            }
            QCoreApplication app(argc, argv);
            SetNames();
            return quillon::RunCommandLine(arguments, out, err);
        }
        case quillon::StartMode::Screenshot: {
            // The images need no screen: without one, draw off-screen.
            if (!HasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
            QApplication app(argc, argv);
            SetNames();
            return quillon::RunScreenshot(arguments, err);
        }
        case quillon::StartMode::Window: break;
    }

    if (!HasDisplay()) {
        err << "quillon: no display to open the window on; try \"./run analyse TEXT\" or \"quillon --help\"\n";
        return quillon::kExitFailure;
    }
    QApplication app(argc, argv);
    SetNames();
    quillon::QtMessages messages;
    quillon::ScopedMessages showOnScreen(messages);
    quillon::Windows windows;
    windows.CalcFrm.show();
    return QApplication::exec();
}
