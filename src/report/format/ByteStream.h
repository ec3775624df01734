#pragma once
// Little-endian reading and writing of the report's binary streams. The reader never reads past
// its end: every read checks what remains and throws StreamError when the bytes are not there, so
// a damaged or hostile stream is an error, never a crash or a huge allocation.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return position_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ >= bytes_.size(); }
    // Moves to an offset within the stream (the end included).
    void Seek(std::size_t offset);

    std::uint8_t U8();
    std::uint16_t U16();
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    double F64();
    // A flag word: 0 is false, anything else true.
    bool Flag() { return U16() != 0; }
    // u16 length, the bytes, one more byte that is skipped. The text is converted to UTF-8.
    std::string String();
    // u16 length and the bytes, no trailing byte; the bytes as they are.
    std::string ShortBytes();
    // A string in the same layout whose bytes are UTF-8 already (the prepared pages' own form).
    std::string Utf8String();
    std::vector<std::string> Utf8LineList();
    // u16 count, then lines of u16 length, bytes and a separator (13 between lines, 0 after the
    // last); a count of 0 is followed by one byte. Lines are taken until separator 0.
    std::vector<std::string> LineList();

    // Line lists read from now on keep at most total lines in all; the lines beyond are read and
    // counted but not kept, so that a stream of millions of empty lines costs no memory for them.
    void KeepLines(std::size_t total);
    // Every line of every list read, kept or not; and the lines of the last list.
    std::size_t LinesCounted() const { return linesCounted_; }
    std::size_t LastListLines() const { return lastListLines_; }

private:
    std::span<const std::uint8_t> Take(std::size_t count);
    std::vector<std::string> Lines(bool ansi);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    std::size_t keepTotal_ = SIZE_MAX;
    std::size_t linesCounted_ = 0, linesKept_ = 0, lastListLines_ = 0;
};

class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Release() { return std::move(bytes_); }
    std::size_t Position() const { return bytes_.size(); }

    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value);
    void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F64(double value);
    // True is written as 65535.
    void Flag(bool value) { U16(value ? 0xFFFF : 0); }
    // The text (UTF-8) in the ANSI code page; longer than 65535 bytes is cut there.
    void String(std::string_view utf8);
    void ShortBytes(std::string_view bytes);
    void LineList(const std::vector<std::string>& lines);
    void Utf8String(std::string_view utf8);
    void Utf8LineList(const std::vector<std::string>& lines);
    void Raw(std::span<const std::uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    // Overwrites four bytes written earlier, for end offsets known only afterwards.
    void PatchU32(std::size_t offset, std::uint32_t value);

private:
    void Lines(const std::vector<std::string>& lines, bool ansi);

    std::vector<std::uint8_t> bytes_;
};

// FrameWidth: stored as the width when whole, else as width x 1000; a stored value up to 10 is a
// whole width.
double ReadFrameWidth(ByteReader& in);
void WriteFrameWidth(ByteWriter& out, double width);

}  // namespace quillon
