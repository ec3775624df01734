#include "report/format/ByteStream.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "report/format/AnsiText.h"

namespace quillon {

void ByteReader::Seek(std::size_t offset) {
    if (offset > bytes_.size()) throw StreamError("seek past the end of the stream");
    position_ = offset;
}

std::span<const std::uint8_t> ByteReader::Take(std::size_t count) {
    if (count > Remaining()) throw StreamError("unexpected end of the stream");
    const auto taken = bytes_.subspan(position_, count);
    position_ += count;
    return taken;
}

std::uint8_t ByteReader::U8() { return Take(1)[0]; }

std::uint16_t ByteReader::U16() {
    const auto b = Take(2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteReader::U32() {
    const auto b = Take(4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

double ByteReader::F64() {
    const auto b = Take(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[static_cast<std::size_t>(i)];
    return std::bit_cast<double>(bits);
}

std::string ByteReader::String() {
    const std::uint16_t length = U16();
    const auto text = Take(length);
    Take(1);
    return AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

std::string ByteReader::ShortBytes() {
    const std::uint16_t length = U16();
    const auto text = Take(length);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string ByteReader::Utf8String() {
    std::string text = ShortBytes();
    Take(1);
    return text;
}

std::vector<std::string> ByteReader::LineList() { return Lines(true); }

std::vector<std::string> ByteReader::Utf8LineList() { return Lines(false); }

void ByteReader::KeepLines(std::size_t total) {
    keepTotal_ = total;
    linesKept_ = 0;
}

std::vector<std::string> ByteReader::Lines(bool ansi) {
    std::vector<std::string> lines;
    lastListLines_ = 0;
    const std::uint16_t count = U16();
    if (count == 0) {
        U8();
        return lines;
    }
    // The count is a hint: a damaged stream may claim more lines than its bytes can hold.
    lines.reserve(std::min({std::size_t{count}, Remaining() / 3, keepTotal_ - std::min(linesKept_, keepTotal_)}));
    // Every line takes at least three bytes, so the loop ends within the stream.
    for (;;) {
        const std::uint16_t length = U16();
        const auto text = Take(length);
        ++lastListLines_;
        ++linesCounted_;
        if (linesKept_ < keepTotal_) {
            const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size());
            lines.push_back(ansi ? AnsiToUtf8(bytes) : std::string(bytes));
            ++linesKept_;
        }
        if (U8() == 0) break;
    }
    return lines;
}

// Little-endian, whatever the machine's order; the bytes of a value are added at once.
void ByteWriter::U16(std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    bytes_.insert(bytes_.end(), bytes, bytes + 2);
}

void ByteWriter::U32(std::uint32_t value) {
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> 8 * i);
    bytes_.insert(bytes_.end(), bytes, bytes + 4);
}

void ByteWriter::F64(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    std::uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(bits >> 8 * i);
    bytes_.insert(bytes_.end(), bytes, bytes + 8);
}

void ByteWriter::ShortBytes(std::string_view bytes) {
    const std::size_t length = std::min<std::size_t>(bytes.size(), 0xFFFF);
    U16(static_cast<std::uint16_t>(length));
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

void ByteWriter::String(std::string_view utf8) {
    ShortBytes(Utf8ToAnsi(utf8));
    U8(0);
}

void ByteWriter::Utf8String(std::string_view utf8) {
    ShortBytes(utf8);
    U8(0);
}

void ByteWriter::LineList(const std::vector<std::string>& lines) { Lines(lines, true); }

void ByteWriter::Utf8LineList(const std::vector<std::string>& lines) { Lines(lines, false); }

void ByteWriter::Lines(const std::vector<std::string>& lines, bool ansi) {
    if (lines.empty()) {
        U16(0);
        U8(0);
        return;
    }
    U16(static_cast<std::uint16_t>(std::min<std::size_t>(lines.size(), 0xFFFF)));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ShortBytes(ansi ? Utf8ToAnsi(lines[i]) : lines[i]);
        U8(i + 1 < lines.size() ? 13 : 0);
    }
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k)
        bytes_.at(offset + static_cast<std::size_t>(k)) = static_cast<std::uint8_t>(value >> (8 * k));
}

namespace {

// A fractional frame width is stored in thousandths; a stored value up to 10 is a whole width.
constexpr double kThousandths = 1000;
constexpr double kLargestWholeWidth = 10;

}  // namespace

double ReadFrameWidth(ByteReader& in) {
    double stored = in.I32();
    if (stored <= kLargestWholeWidth) stored *= kThousandths;
    return stored / kThousandths;
}

void WriteFrameWidth(ByteWriter& out, double width) {
    if (width == std::floor(width) && std::abs(width) < 2147483647.0) {
        out.I32(static_cast<std::int32_t>(width));
    } else {
        out.I32(static_cast<std::int32_t>(std::lround(width * kThousandths)));
    }
}

}  // namespace quillon
