#pragma once
// A service installed for the lifetime of an object: the program's messages, the desktop's
// services, the help service, the printers the report engine prints on. The program installs its
// own once; tests and commands install theirs for a while and leave the program's as it was.

namespace quillon {

// Installs a service and puts back the one it replaced when it ends. A service type is made
// swappable by a function beside it,
//     T* SwapInstalled(T* service);
// which installs the service (null for none) and returns the one installed before.
template <typename T>
class Scoped {
public:
    explicit Scoped(T& service) : previous_(SwapInstalled(&service)) {}
    ~Scoped() { SwapInstalled(previous_); }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

private:
    T* previous_;
};

}  // namespace quillon
