#pragma once
// Builds expected report-stream bytes by hand in tests, field by field, independent of the
// program's own writer.

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

struct StreamBytes {
    std::vector<std::uint8_t> bytes;

    StreamBytes& u8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    StreamBytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    StreamBytes& i32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        return u8(u & 0xFF).u8((u >> 8) & 0xFF).u8((u >> 16) & 0xFF).u8(u >> 24);
    }
    StreamBytes& str(const std::string& s) {
        u16(static_cast<std::uint16_t>(s.size()));
        for (char c : s) u8(static_cast<std::uint8_t>(c));
        return u8(0);
    }
    StreamBytes& shortStr(const std::string& s) {
        u16(static_cast<std::uint16_t>(s.size()));
        for (char c : s) u8(static_cast<std::uint8_t>(c));
        return *this;
    }
    StreamBytes& f64zero() {
        for (int i = 0; i < 8; ++i) u8(0);
        return *this;
    }
    std::size_t size() const { return bytes.size(); }
    void patch32(std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) bytes[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
    }
};

}  // namespace quillon::test
