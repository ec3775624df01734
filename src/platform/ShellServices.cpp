#include "platform/ShellServices.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

namespace quillon {
namespace {

DesktopShellServices& Desktop() {
    static DesktopShellServices desktop;
    return desktop;
}

ShellServices*& Installed() {
    static ShellServices* installed = &Desktop();
    return installed;
}

}  // namespace

void DesktopShellServices::Open(const QString& address, OpenDone done) {
    // The process belongs to the application, so that one still running when the program ends is
    // ended with it; the browser it started goes on.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    // Only the first answer counts: the exit, a failure to start, or the end of the wait.
    const auto answer = [done = std::make_shared<OpenDone>(std::move(done))](bool opened) {
        if (!*done) return;
        const OpenDone once = std::exchange(*done, nullptr);
        once(opened);
    };
    QObject::connect(process, &QProcess::finished, process, [process, answer](int code, QProcess::ExitStatus status) {
        answer(status == QProcess::NormalExit && code == 0);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, answer](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        answer(false);
        process->deleteLater();
    });
    QTimer::singleShot(waitMs_, process, [answer] { answer(true); });
    // An address typed without a scheme, such as "www.host.example", is read the way a person
    // would mean it.
    process->start(program_, {QUrl::fromUserInput(address).toString(QUrl::FullyEncoded)});
}

void DesktopShellServices::Beep() { QApplication::beep(); }

ShellServices& CurrentShellServices() { return *Installed(); }

ShellServices* SwapInstalled(ShellServices* services) {
    return std::exchange(Installed(), services ? services : &Desktop());
}

}  // namespace quillon
