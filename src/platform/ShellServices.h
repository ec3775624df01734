#pragma once
// The two desktop services a hyperlink label calls on: opening an address with the desktop's
// "open" (the user's web browser, for a web page) and the plain system beep. The program uses the
// desktop's own; tests install services that answer as they are told and record what was asked.

#include <QString>
#include <functional>

#include "common/Scoped.h"

namespace quillon {

class ShellServices {
public:
    // Whether the desktop opened the address.
    using OpenDone = std::function<void(bool opened)>;

    virtual ~ShellServices() = default;
    // Hands the address to the desktop and calls done once with whether the desktop could open it
    // (false for no program that opens it or a malformed address). The answer may come at once or
    // later from the event loop; the caller does not wait for it.
    virtual void Open(const QString& address, OpenDone done) = 0;
    virtual void Beep() = 0;
};

// The desktop's own services. An address is opened by xdg-open, the desktop's "open": it exits
// with status 0 once a program has the address, and with another status when none can take it.
// Some desktops' xdg-open waits until the browser it started ends, so one still running after
// waitMs has handed the address over.
class DesktopShellServices final : public ShellServices {
public:
    static constexpr int kOpenWaitMs = 5000;

    explicit DesktopShellServices(QString program = QStringLiteral("xdg-open"), int waitMs = kOpenWaitMs)
        : program_(std::move(program)), waitMs_(waitMs) {}

    void Open(const QString& address, OpenDone done) override;
    void Beep() override;

private:
    QString program_;
    int waitMs_;
};

ShellServices& CurrentShellServices();
// Makes services the current ones (null: the desktop's) and returns the ones current before.
ShellServices* SwapInstalled(ShellServices* services);
// Installs services for the lifetime of this object and puts back the previous ones after.
using ScopedShellServices = Scoped<ShellServices>;

}  // namespace quillon
