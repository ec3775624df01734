#include "platform/CupsJobs.h"

#include <cups/cups.h>
#include <dlfcn.h>

namespace quillon {
namespace {

// The few entry points of libcups that a job needs, looked up once.
struct CupsLibrary {
    decltype(&cupsPrintFile2) printFile = nullptr;
    decltype(&cupsAddOption) addOption = nullptr;
    decltype(&cupsFreeOptions) freeOptions = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;
    std::string error;

    CupsLibrary() {
        void* library = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = ::dlerror();
            error = std::string("The printing library libcups cannot be loaded: ") + (why ? why : "unknown reason");
            return;
        }
        printFile = reinterpret_cast<decltype(printFile)>(::dlsym(library, "cupsPrintFile2"));
        addOption = reinterpret_cast<decltype(addOption)>(::dlsym(library, "cupsAddOption"));
        freeOptions = reinterpret_cast<decltype(freeOptions)>(::dlsym(library, "cupsFreeOptions"));
        lastErrorString = reinterpret_cast<decltype(lastErrorString)>(::dlsym(library, "cupsLastErrorString"));
        if (!printFile || !addOption || !freeOptions || !lastErrorString) {
            error = "The printing library libcups lacks what printing needs";
        }
    }
};

const CupsLibrary& Cups() {
    static const CupsLibrary library;
    return library;
}

}  // namespace

std::optional<std::string> SubmitPdfJob(const std::string& printer, const std::string& pdfFile,
                                        const std::string& title,
                                        const std::vector<std::pair<std::string, std::string>>& options) {
    const CupsLibrary& cups = Cups();
    if (!cups.error.empty()) return cups.error;
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& [name, value] : options) count = cups.addOption(name.c_str(), value.c_str(), count, &list);
    // An instance's settings are the client's; the spooler knows the printer only.
    const std::string destination = printer.substr(0, printer.find('/'));
    const int job = cups.printFile(CUPS_HTTP_DEFAULT, destination.c_str(), pdfFile.c_str(), title.c_str(), count, list);
    cups.freeOptions(count, list);
    if (job == 0) {
        const char* why = cups.lastErrorString();
        return "The print job could not be handed to the printer: " + std::string(why ? why : "unknown reason");
    }
    return std::nullopt;
}

}  // namespace quillon
