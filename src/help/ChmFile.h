#pragma once
// Compiled help files, read through chmlib. The library is loaded when the help starts rather than
// linked, as the help viewer control is on other systems: without it Quillon runs, and only its
// help cannot be shown. Paths of objects inside a help file start with "/" and are matched without
// regard to letter case.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The library's name as the dynamic loader knows it.
inline constexpr std::string_view kChmLibraryName = "libchm.so.1";

class ChmLibrary {
public:
    explicit ChmLibrary(std::string_view libraryName = kChmLibraryName);
    ~ChmLibrary();
    ChmLibrary(const ChmLibrary&) = delete;
    ChmLibrary& operator=(const ChmLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // The file that was loaded, links resolved; empty when nothing was loaded.
    const std::string& Path() const { return path_; }
    // The loader's message when the library could not be loaded.
    const std::string& Error() const { return error_; }

    struct Functions;
    const Functions& Entry() const { return *functions_; }

private:
    void* handle_ = nullptr;
    std::unique_ptr<Functions> functions_;
    std::string path_;
    std::string error_;
};

// What a help file says about itself in its system object.
struct ChmSystemInfo {
    std::string contentsFile;  // the table of contents, a sitemap
    std::string indexFile;     // the keyword index, a sitemap
    std::string defaultTopic;
    std::string title;
};

// Reads the system object of a help file; fields that it does not hold stay empty.
ChmSystemInfo ParseChmSystem(std::string_view bytes);

class ChmFile {
public:
    // Opens a help file; null when the library is not loaded or the file is missing, unreadable or
    // so damaged that its system object cannot be read.
    static std::unique_ptr<ChmFile> Open(const ChmLibrary& library, const std::string& fileName);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    const std::string& FileName() const { return fileName_; }
    // The bytes of an object; nothing when the help file does not hold it.
    std::optional<std::string> Read(std::string_view page) const;
    bool Contains(std::string_view page) const;
    // The paths of the files that the help file holds, its own bookkeeping objects left out.
    std::vector<std::string> Files() const;
    const ChmSystemInfo& System() const { return system_; }
    // The default topic as an object path; empty when the help file names none.
    std::string DefaultPage() const;

private:
    ChmFile(const ChmLibrary& library, void* handle, std::string fileName);

    const ChmLibrary& library_;
    void* handle_;
    std::string fileName_;
    ChmSystemInfo system_;
    std::uint64_t compressedLength_ = 0;  // how much of the compressed section can be read
};

}  // namespace quillon
