// libFuzzer target for the reading of compiled help files: any bytes as a help file must be
// refused or opened, and what it holds read, without a crash, a read past the end, a hang or
// unbounded memory. Its start page, contents and index then go through the HTML readers as
// "quillon help --text" and "--list" take them (the HTML readers have a fuzzer of their own).
// chmlib opens files by name, so each input is written to a file in memory first.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "help/ChmFile.h"
#include "help/HelpHtml.h"

namespace {

// The objects read of one input: enough for every file of a real help file, few enough that a
// directory of thousands of entries does not make one input take seconds.
constexpr std::size_t kMaxObjects = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    static const ChmLibrary library;
    static const int memory = ::memfd_create("quill.chm", MFD_CLOEXEC);
    if (!library.Loaded() || memory < 0) std::abort();
    if (::ftruncate(memory, static_cast<off_t>(size)) != 0 ||
        ::pwrite(memory, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    const auto file = ChmFile::Open(library, "/proc/self/fd/" + std::to_string(memory));
    if (!file) return 0;
    for (const std::string& sitemap : {file->System().contentsFile, file->System().indexFile}) {
        if (const auto bytes = file->Read(sitemap)) ParseSitemap(*bytes);
    }
    if (const auto page = file->Read(file->DefaultPage())) HtmlToText(*page);
    std::size_t read = 0;
    for (const std::string& path : file->Files()) {
        if (++read > kMaxObjects) break;
        file->Contains(path);
        file->Read(path);
    }
    return 0;
}
