#include "tools/ShellServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace quillon {
namespace {

class DesktopShellServices final : public ShellServices {
public:
    // QDesktopServices hands web addresses to the desktop's default browser (xdg-open on a plain
    // X session). An address typed without a scheme, such as "www.host.example", is read the way
    // a person would mean it.
    bool Open(const QString& address) override { return QDesktopServices::openUrl(QUrl::fromUserInput(address)); }
    void Beep() override { QApplication::beep(); }
};

ShellServices*& Installed() {
    static DesktopShellServices desktop;
    static ShellServices* installed = &desktop;
    return installed;
}

}  // namespace

ShellServices& CurrentShellServices() { return *Installed(); }

ScopedShellServices::ScopedShellServices(ShellServices& services) : previous_(Installed()) {
    Installed() = &services;
}

ScopedShellServices::~ScopedShellServices() { Installed() = previous_; }

}  // namespace quillon
