#include "help/ChmFile.h"

#include <chm_lib.h>
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "help/ChmStructure.h"
#include "help/HelpAddress.h"

namespace quillon {

// The entry points of chmlib, typed after its header and resolved when the library is loaded.
struct ChmLibrary::Functions {
    decltype(&chm_open) open = nullptr;
    decltype(&chm_close) close = nullptr;
    decltype(&chm_resolve_object) resolve = nullptr;
    decltype(&chm_retrieve_object) retrieve = nullptr;
    decltype(&chm_enumerate) enumerate = nullptr;
};

namespace {

template <typename Function>
bool Resolve(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(handle, name));
    return function != nullptr;
}

chmFile* Handle(void* handle) { return static_cast<chmFile*>(handle); }

std::uint16_t Word(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                  << 8);
}

// Objects are read in pieces, so that a damaged directory entry claiming a huge length costs no
// more memory than the bytes that can actually be read; none is read beyond this length, far
// more than any page, picture or contents of a real help file.
constexpr std::uint64_t kReadPiece = 1 << 16;
constexpr std::uint64_t kMaxObjectLength = 64 << 20;
// The structure of a help file is checked in memory; a help file of the program is a small
// fraction of this.
constexpr std::uintmax_t kMaxFileLength = 256 << 20;

std::optional<std::string> WholeFile(const std::string& fileName) {
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(fileName, error);
    if (error || length > kMaxFileLength) return std::nullopt;
    std::ifstream file(fileName, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (!file.read(bytes.data(), static_cast<std::streamsize>(length))) return std::nullopt;
    return bytes;
}

// chmlib opens files by name. It gets the bytes that were checked, in a file in memory, so that
// the file on disk cannot be changed between the check and the reading.
chmFile* OpenChecked(const ChmLibrary::Functions& f, const std::string& bytes) {
    const int memory = ::memfd_create("quill.chm", MFD_CLOEXEC);
    if (memory < 0) return nullptr;
    chmFile* handle = nullptr;
    if (::write(memory, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
        handle = f.open(("/proc/self/fd/" + std::to_string(memory)).c_str());
    }
    // chmlib has a descriptor of its own.
    ::close(memory);
    return handle;
}

std::optional<std::string> ReadUnit(const ChmLibrary::Functions& f, chmFile* handle, chmUnitInfo& unit) {
    if (unit.length > kMaxObjectLength) return std::nullopt;
    std::string bytes;
    while (bytes.size() < unit.length) {
        const std::size_t at = bytes.size();
        const std::uint64_t piece = std::min<std::uint64_t>(kReadPiece, unit.length - at);
        bytes.resize(at + piece);
        const LONGINT64 read = f.retrieve(handle, &unit, reinterpret_cast<unsigned char*>(bytes.data() + at), at,
                                          static_cast<LONGINT64>(piece));
        if (read != static_cast<LONGINT64>(piece)) return std::nullopt;
    }
    return bytes;
}

// A text field of the system object: its bytes up to the first NUL.
std::string TextOf(std::string_view data) { return std::string(data.substr(0, data.find('\0'))); }

}  // namespace

ChmLibrary::ChmLibrary(std::string_view libraryName) : functions_(std::make_unique<Functions>()) {
    const std::string name(libraryName);
    handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* message = ::dlerror();
        error_ = message ? message : "cannot load " + name;
        return;
    }
    Functions& f = *functions_;
    if (!Resolve(handle_, "chm_open", f.open) || !Resolve(handle_, "chm_close", f.close) ||
        !Resolve(handle_, "chm_resolve_object", f.resolve) || !Resolve(handle_, "chm_retrieve_object", f.retrieve) ||
        !Resolve(handle_, "chm_enumerate", f.enumerate)) {
        error_ = name + " lacks the functions for reading help files";
        ::dlclose(handle_);
        handle_ = nullptr;
        return;
    }
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(f.open), &info) != 0 && info.dli_fname) {
        std::error_code error;
        const std::filesystem::path real = std::filesystem::canonical(info.dli_fname, error);
        path_ = error ? std::string(info.dli_fname) : real.string();
    }
}

ChmLibrary::~ChmLibrary() {
    if (handle_) ::dlclose(handle_);
}

ChmSystemInfo ParseChmSystem(std::string_view bytes) {
    ChmSystemInfo info;
    // A version word of four bytes, then records: a code and a length of two bytes each, and the
    // record's data.
    std::size_t at = 4;
    while (at + 4 <= bytes.size()) {
        const std::uint16_t code = Word(bytes, at);
        const std::uint16_t length = Word(bytes, at + 2);
        at += 4;
        if (at + length > bytes.size()) break;
        const std::string_view data = bytes.substr(at, length);
        switch (code) {
            case 0: info.contentsFile = TextOf(data); break;
            case 1: info.indexFile = TextOf(data); break;
            case 2: info.defaultTopic = TextOf(data); break;
            case 3: info.title = TextOf(data); break;
            default: break;
        }
        at += length;
    }
    return info;
}

std::unique_ptr<ChmFile> ChmFile::Open(const ChmLibrary& library, const std::string& fileName) {
    if (!library.Loaded()) return nullptr;
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) return nullptr;
    const std::optional<std::string> bytes = WholeFile(fileName);
    const std::optional<std::uint64_t> compressedLength = bytes ? CheckChmStructure(*bytes) : std::nullopt;
    if (!compressedLength) return nullptr;
    chmFile* handle = OpenChecked(library.Entry(), *bytes);
    if (!handle) return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(library, handle, fileName));
    file->compressedLength_ = *compressedLength;
    // Every help file describes itself in its system object; a file whose system object cannot be
    // read is damaged, even when its headers are whole.
    const auto system = file->Read("/#SYSTEM");
    if (!system) return nullptr;
    file->system_ = ParseChmSystem(*system);
    return file;
}

ChmFile::ChmFile(const ChmLibrary& library, void* handle, std::string fileName)
    : library_(library), handle_(handle), fileName_(std::move(fileName)) {}

ChmFile::~ChmFile() { library_.Entry().close(Handle(handle_)); }

std::optional<std::string> ChmFile::Read(std::string_view page) const {
    const std::string path = ChmObjectPath(page);
    chmUnitInfo unit{};
    if (library_.Entry().resolve(Handle(handle_), path.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    // chmlib reads an object of any section but the uncompressed one as compressed.
    if (unit.space != CHM_UNCOMPRESSED &&
        (unit.start > compressedLength_ || unit.length > compressedLength_ - unit.start)) {
        return std::nullopt;
    }
    return ReadUnit(library_.Entry(), Handle(handle_), unit);
}

bool ChmFile::Contains(std::string_view page) const {
    const std::string path = ChmObjectPath(page);
    chmUnitInfo unit{};
    return library_.Entry().resolve(Handle(handle_), path.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::vector<std::string> ChmFile::Files() const {
    std::vector<std::string> files;
    const auto collect = [](chmFile*, chmUnitInfo* unit, void* context) -> int {
        static_cast<std::vector<std::string>*>(context)->emplace_back(unit->path);
        return CHM_ENUMERATOR_CONTINUE;
    };
    library_.Entry().enumerate(Handle(handle_), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &files);
    return files;
}

std::string ChmFile::DefaultPage() const {
    return system_.defaultTopic.empty() ? std::string() : ChmObjectPath(system_.defaultTopic);
}

}  // namespace quillon
