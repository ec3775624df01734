// Writes the report streams of the two carried templates into a folder, as the fuzzer's seeds.

#include <cstdio>
#include <fstream>
#include <string>

#include "report/content/TemplateData.h"
#include "report/format/TemplateStream.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::pair<const char*, std::span<const std::uint8_t>> forms[] = {{"print.frf", quillon::PrintReportForm()},
                                                                           {"export.frf", quillon::ExportReportForm()}};
    for (const auto& [name, form] : forms) {
        const auto stream = quillon::UnwrapReportForm(form);
        std::ofstream out(std::string(argv[1]) + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(stream->data()), static_cast<std::streamsize>(stream->size()));
        if (!out) return 1;
    }
    return 0;
}
