#pragma once
// The input of a batch run: a file, or standard input for "-".

#include <cstdint>
#include <optional>
#include <string>

#include "batch/BatchRun.h"

namespace quillon::batch {

class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Opens path for reading ("-" is standard input). Returns the error message, or nothing.
    std::optional<std::string> Open(const std::string& path);
    ReadResult Read(char* buffer, std::size_t size);
    // The size in bytes when the input is a regular file; nothing for pipes and terminals.
    std::optional<std::uint64_t> Size() const { return size_; }

private:
    std::string path_;
    int fd_ = -1;
    bool ownsFd_ = false;
    std::optional<std::uint64_t> size_;
};

}  // namespace quillon::batch
