// libFuzzer target for the template stream reader: any bytes must be read without a crash, a
// read past the end, a hang or unbounded memory; and whatever was read must save to a stream
// that reads again.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "report/format/TemplateStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    ReportTemplate report;
    const TemplateLoad load = ReadTemplate(std::span(data, size), report, 0);
    if (load.ok && !report.Pages.empty()) {
        const auto saved = WriteTemplate(report, std::string(kVirtualPrinterMarker), 0);
        ReportTemplate again;
        if (!ReadTemplate(saved, again, 0).ok) std::abort();
    }
    return 0;
}
