// Quillon's entry point: the analysis window, or a command answered without a window.

#include <fcntl.h>
#include <stdio_ext.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QTextStream>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/CommandLine.h"
#include "cli/Screenshot.h"
#include "common/SafeSave.h"
#include "common/TemporaryFiles.h"
#include "common/Utf8.h"
#include "common/Version.h"
#include "platform/QtMessages.h"
#include "platform/QtPrinterDriver.h"
#include "windows/analysis/Windows.h"
#include "windows/help/HelpService.h"

namespace {

// The arguments as given: a byte that is no UTF-8 (in a file name, say) is kept as a byte, so that
// the file named is the file used (see common/Utf8.h).
QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromStdU16String(quillon::BytesToUtf16Escaped(argv[i]));
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
    QCoreApplication::setApplicationVersion(QString::fromLatin1(quillon::kVersion));
}

// Windows carry the program's icon, and the desktop matches them to the installed menu entry.
// Reading the icon's six images loads the image plugins, which the analysis window can do once
// it is up: a window shown before its icon is set gets it then.
void SetWindowIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/quillon-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
}

void SetDesktopFileName() { QGuiApplication::setDesktopFileName(QStringLiteral("example.farbrook_software.Quillon")); }

void SetDesktopIdentity() {
    SetDesktopFileName();
    SetWindowIcon();
}

// What a command wrote must have reached standard output, as coreutils' close_stdout checks: a
// full disk or a closed output is a failure, not a success with nothing written.
int WithStandardOutputChecked(int code, QTextStream& out, QTextStream& err) {
    out.flush();
    // The text stream's file tells why its writes failed; the C library's stream why its own did.
    QString reason;
    if (quillon::StandardOutputWasClosed()) {
        reason = QString::fromLatin1(quillon::kStandardOutputClosed);
    } else if (const auto* file = qobject_cast<const QFile*>(out.device());
               file && file->error() != QFileDevice::NoError) {
        reason = file->errorString();
    }
    errno = 0;
    const bool flushFailed = std::fflush(stdout) != 0;
    if (flushFailed && reason.isEmpty()) reason = QString::fromLocal8Bit(std::strerror(errno));
    const bool pending = __fpending(stdout) != 0;
    const bool failedBefore = flushFailed || std::ferror(stdout) != 0 || out.status() != QTextStream::Ok;
    errno = 0;
    const bool closeFailed = std::fclose(stdout) != 0;
    const int closeError = closeFailed ? errno : 0;
    // Closing an output that was closed already fails, which matters only when something was to go.
    if (!failedBefore && !(closeFailed && (pending || closeError != EBADF))) return code;
    if (reason.isEmpty() && closeError != 0) reason = QString::fromLocal8Bit(std::strerror(closeError));
    quillon::CommandNote(err,
                         reason.isEmpty() ? QStringLiteral("write error") : QStringLiteral("write error: ") + reason);
    return code == quillon::kExitOk ? quillon::kExitFailure : code;
}

}  // namespace

int main(int argc, char** argv) {
    quillon::KeepStandardStreamsOpen();
    // A signal that ends the program first removes the temporary files of saves and print jobs.
    quillon::RemoveTemporaryFilesOnSignals();
    previousHandler = qInstallMessageHandler(FilterQtMessages);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Until the window shows its message boxes, a message of the core is a line on standard error,
    // escaped as the command line's own.
    quillon::CommandMessages messagesToErr(err);
    quillon::ScopedMessages startMessages(messagesToErr);
    // The help service starts before any window: it loads the help library, records the
    // environment and resets its log. "-debug" and "/debug" are its switches; the rest of the
    // program does not see them.
    const QStringList givenArguments = ArgumentsOf(argc, argv);
    quillon::HelpService help(quillon::HelpStartup{givenArguments});
    quillon::ScopedHelpService helpInstalled(help);
    const QStringList arguments = quillon::WithoutDebugSwitches(givenArguments);

    switch (quillon::ModeOf(arguments)) {
        case quillon::StartMode::CommandLine: {
            // A command that works a window or Qt's printing needs a widgets application, which
            // runs off-screen without a display.
            if (quillon::NeedsWidgets(arguments)) {
                if (!HasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
                QApplication app(argc, argv);
                SetNames();
                SetDesktopIdentity();
                return WithStandardOutputChecked(quillon::RunCommandLine(arguments, out, err), out, err);
            }
            QCoreApplication app(argc, argv);
            SetNames();
            return WithStandardOutputChecked(quillon::RunCommandLine(arguments, out, err), out, err);
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
        return quillon::CommandError(
            err, quillon::ErrorKind::Failure,
            QStringLiteral("no display to open the window on; try \"./run analyse TEXT\" or \"quillon --help\""));
    }
    QApplication app(argc, argv);
    SetNames();
    SetDesktopFileName();
    quillon::QtMessages messages;
    quillon::ScopedMessages showOnScreen(messages);
    // The reports print on the system's printers, the default one first; they are read once the
    // window is up.
    quillon::QtPrinterDriver printers;
    quillon::Windows windows;
    windows.CalcFrm.show();
    windows.CalcFrm.BindPrintersLater(printers);
    QTimer::singleShot(0, &windows.CalcFrm, SetWindowIcon);
    return QApplication::exec();
}
