#pragma once
// Reading a file back whole and writing one, byte for byte, for tests that check what the program
// wrote or give it files of their own.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quillon::test {

// The bytes of the file; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Writes the bytes as the whole file, replacing what it held.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace quillon::test
