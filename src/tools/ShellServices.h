#pragma once
// The two desktop services a hyperlink label calls on: opening an address with the desktop's
// "open" (the user's web browser, for a web page) and the plain system beep. The program uses the
// desktop's own; tests install services that answer as they are told and record what was asked.

class QString;

namespace quillon {

class ShellServices {
public:
    virtual ~ShellServices() = default;
    // Hands the address to the desktop; false when the desktop cannot open it (no program for it,
    // a malformed address).
    virtual bool Open(const QString& address) = 0;
    virtual void Beep() = 0;
};

ShellServices& CurrentShellServices();

// Installs services for the lifetime of this object and puts back the previous ones after.
class ScopedShellServices {
public:
    explicit ScopedShellServices(ShellServices& services);
    ~ScopedShellServices();
    ScopedShellServices(const ScopedShellServices&) = delete;
    ScopedShellServices& operator=(const ScopedShellServices&) = delete;

private:
    ShellServices* previous_;
};

}  // namespace quillon
