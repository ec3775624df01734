// Quillon's entry point: the analysis window, or a command answered without a window.

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QTextStream>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/Screenshot.h"
#include "app/Windows.h"
#include "common/TemporaryFiles.h"
#include "platform/QtMessages.h"
#include "platform/QtPrinterDriver.h"
#include "tools/HelpService.h"

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Standard error carries Quillon's own messages. Some notes of Qt's are about the surroundings, not
// about anything the user asked: that no session gave a runtime folder (Qt makes a private one) and
// that the off-screen platform cannot do what a window manager does (size hints, raising). They
// are left out; every other message passes.
QtMessageHandler previousHandler = nullptr;

void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
        message.startsWith(QLatin1String("This plugin does not support "))) {
        return;
    }
    if (previousHandler) previousHandler(type, context, message);
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

// Windows carry the program's icon, and the desktop matches them to the installed menu entry.
void SetDesktopIdentity() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/quillon-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("example.farbrook_software.Quillon"));
}

}  // namespace

int main(int argc, char** argv) {
    // A signal that ends the program first removes the temporary files of saves and print jobs.
    quillon::RemoveTemporaryFilesOnSignals();
    previousHandler = qInstallMessageHandler(FilterQtMessages);
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
            // Export measures text with the window's fonts, help may open its viewer and calc works
            // the calculator window and its clipboard: they need a widgets application, which
            // runs off-screen without a display.
            const QString command = arguments.value(1);
            const QStringList needsWidgets = {QStringLiteral("export"), QStringLiteral("help"), QStringLiteral("calc"),
                                              QStringLiteral("print"), QStringLiteral("printers")};
            if (needsWidgets.contains(command)) {
                if (!HasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
                QApplication app(argc, argv);
                SetNames();
                SetDesktopIdentity();
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
    SetDesktopIdentity();
    quillon::QtMessages messages;
    quillon::ScopedMessages showOnScreen(messages);
    // The reports print on the system's printers, the default one first.
    quillon::QtPrinterDriver printers;
    quillon::EnginePrinter().Bind(printers);
    quillon::Windows windows;
    windows.CalcFrm.show();
    return QApplication::exec();
}
