#include "tools/ChmFile.h"

#include <chm_lib.h>
#include <dlfcn.h>

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "tools/HelpAddress.h"

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
    chmFile* handle = library.Entry().open(fileName.c_str());
    if (!handle) return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(library, handle, fileName));
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
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    const LONGINT64 read = library_.Entry().retrieve(
        Handle(handle_), &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0, static_cast<LONGINT64>(unit.length));
    if (read < 0 || static_cast<LONGUINT64>(read) != unit.length) return std::nullopt;
    return bytes;
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
