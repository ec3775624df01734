#include "help/ChmStructure.h"

#include <algorithm>
#include <string>
#include <vector>

#include "help/AsciiText.h"

namespace quillon {
namespace {

// The file header: its version at 0x04, the directory's offset and length at 0x48 and 0x50, and
// from version 3 on the offset of the objects of the uncompressed section at 0x58 (before, they
// follow the directory).
constexpr std::size_t kFileHeader = 0x58;
constexpr std::size_t kVersion3FileHeader = 0x60;
// The directory header: its own length at 0x08 and the length of the directory's chunks at 0x10;
// the chunks follow it. A listing chunk starts with "PMGL", the free space at its end at 0x04
// and its entries (name, section, start, length) at 0x14; an index chunk starts with "PMGI", the
// free space at 0x04 and its entries (name, chunk) at 0x08. Help compilers write chunks of 4 KiB.
constexpr std::size_t kDirectoryHeader = 0x14;
constexpr std::uint64_t kMaxChunkLength = 1 << 20;
constexpr std::size_t kListingHeader = 0x14;
constexpr std::size_t kIndexHeader = 0x08;
// chmlib refuses longer names.
constexpr std::uint64_t kMaxNameLength = 512;

constexpr std::string_view kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr std::string_view kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

// The control data: "LZXC" at 0x04, its version at 0x08, the reset interval at 0x0C, the window
// at 0x10 and the windows per reset at 0x14; from version 2 on, interval and window count 32 KiB
// units. LZX windows are 32 KiB to 2 MiB, powers of two.
constexpr std::size_t kControlDataLength = 0x18;
constexpr std::uint32_t kMinWindow = 1 << 15;
constexpr std::uint32_t kMaxWindow = 1 << 21;

// The reset table: the number of blocks at 0x04, where the blocks' offsets start at 0x0C, the
// compressed length at 0x18 and the uncompressed length of a block at 0x20; the offsets follow,
// eight bytes each. Help compilers write blocks of 32 KiB. chmlib reads a compressed block into a
// buffer 6 KiB longer than the block uncompressed; LZX never makes a block longer by that much.
constexpr std::size_t kResetTableHeader = 0x28;
constexpr std::uint64_t kMaxBlockLength = 1 << 21;
constexpr std::uint64_t kCompressionSlack = 6144;

// Little-endian numbers at a place of the file; nothing past its end.
std::optional<std::uint64_t> Number(std::string_view file, std::uint64_t at, int length) {
    if (at > file.size() || file.size() - at < static_cast<std::uint64_t>(length)) return std::nullopt;
    std::uint64_t value = 0;
    for (int i = length - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(file[at + i]);
    return value;
}

// A number of the directory: seven bits a byte, the most significant first, the high bit set on
// every byte but the last.
std::optional<std::uint64_t> EncodedNumber(std::string_view file, std::uint64_t& at, std::uint64_t end) {
    std::uint64_t value = 0;
    for (int bytes = 0; at < end && bytes < 9; ++bytes) {
        const auto byte = static_cast<unsigned char>(file[at++]);
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) return value;
    }
    return std::nullopt;
}

struct Entry {
    std::uint64_t space;
    std::uint64_t start;
    std::uint64_t length;
};

// The bytes of an object of the uncompressed section; nothing when they are not all in the file.
std::optional<std::string_view> Bytes(std::string_view file, std::uint64_t objects, const Entry& entry) {
    if (objects > file.size() || entry.start > file.size() - objects ||
        entry.length > file.size() - objects - entry.start) {
        return std::nullopt;
    }
    return file.substr(objects + entry.start, entry.length);
}

bool SoundControlData(std::string_view data) {
    if (data.size() < kControlDataLength || data.substr(4, 4) != "LZXC") return false;
    const std::uint64_t version = *Number(data, 0x08, 4);
    // chmlib computes in 32 bits.
    std::uint32_t interval = static_cast<std::uint32_t>(*Number(data, 0x0C, 4));
    std::uint32_t window = static_cast<std::uint32_t>(*Number(data, 0x10, 4));
    const auto windowsPerReset = static_cast<std::uint32_t>(*Number(data, 0x14, 4));
    if (version == 2) {
        interval *= 0x8000;
        window *= 0x8000;
    } else if (version != 1) {
        return false;
    }
    const bool powerOfTwo = (window & (window - 1)) == 0;
    return powerOfTwo && window >= kMinWindow && window <= kMaxWindow && interval != 0 &&
           interval % (window / 2) == 0 && interval / (window / 2) * windowsPerReset != 0;
}

// The uncompressed length that the reset table covers with sound blocks; nothing when it has one
// that is not.
std::optional<std::uint64_t> ResetTableLength(std::string_view table) {
    if (table.size() < kResetTableHeader) return std::nullopt;
    const std::uint64_t blocks = *Number(table, 0x04, 4);
    const std::uint64_t offsets = *Number(table, 0x0C, 4);
    const std::uint64_t compressed = *Number(table, 0x18, 8);
    const std::uint64_t blockLength = *Number(table, 0x20, 8);
    if (blockLength == 0 || blockLength > kMaxBlockLength || offsets > table.size() ||
        blocks > (table.size() - offsets) / 8) {
        return std::nullopt;
    }
    for (std::uint64_t block = 0; block < blocks; ++block) {
        const std::uint64_t start = *Number(table, offsets + 8 * block, 8);
        const std::uint64_t end = block + 1 < blocks ? *Number(table, offsets + 8 * (block + 1), 8) : compressed;
        if (end < start || end - start > blockLength + kCompressionSlack) return std::nullopt;
    }
    return blocks * blockLength;
}

}  // namespace

std::optional<std::uint64_t> CheckChmStructure(std::string_view file) {
    if (file.size() < kFileHeader || file.substr(0, 4) != "ITSF") return std::nullopt;
    const std::uint64_t version = *Number(file, 0x04, 4);
    const std::uint64_t directory = *Number(file, 0x48, 8);
    const std::uint64_t directoryLength = *Number(file, 0x50, 8);
    std::optional<std::uint64_t> objects = directory + directoryLength;
    if (version >= 3) objects = file.size() >= kVersion3FileHeader ? Number(file, 0x58, 8) : std::nullopt;
    if (!objects || directory > file.size() || file.size() - directory < kDirectoryHeader ||
        file.substr(directory, 4) != "ITSP") {
        return std::nullopt;
    }
    const std::uint64_t headerLength = *Number(file, directory + 0x08, 4);
    const std::uint64_t chunkLength = *Number(file, directory + 0x10, 4);
    if (chunkLength < kListingHeader || chunkLength > kMaxChunkLength || headerLength < kDirectoryHeader) {
        return std::nullopt;
    }
    // Every chunk that chmlib could be led to, wherever the directory's index points: those at the
    // places of chunks up to the end of the file. Entries start before the free space at a chunk's
    // end, but chmlib reads an entry whole even where it runs into the free space; one that runs off
    // the chunk is damage that would make chmlib read past its buffer.
    std::vector<Entry> controlData;
    std::vector<Entry> resetTables;
    for (std::uint64_t chunk = directory + headerLength; chunk < file.size() && file.size() - chunk >= chunkLength;
         chunk += chunkLength) {
        const bool listing = file.substr(chunk, 4) == "PMGL";
        if (!listing && file.substr(chunk, 4) != "PMGI") continue;
        const std::uint64_t chunkEnd = chunk + chunkLength;
        const std::uint64_t end = chunkEnd - std::min(*Number(file, chunk + 4, 4), chunkLength);
        for (std::uint64_t at = chunk + (listing ? kListingHeader : kIndexHeader); at < end;) {
            const auto nameLength = EncodedNumber(file, at, chunkEnd);
            if (!nameLength || *nameLength > chunkEnd - at) return std::nullopt;
            if (*nameLength > kMaxNameLength) break;
            // chmlib ends a name at its first NUL and keeps the section number in 32 bits.
            const std::string_view stored = file.substr(at, *nameLength);
            const std::string name = AsciiLowerCase(stored.substr(0, stored.find('\0')));
            at += *nameLength;
            const auto first = EncodedNumber(file, at, chunkEnd);
            if (!first) return std::nullopt;
            if (!listing) continue;
            const auto start = EncodedNumber(file, at, chunkEnd);
            const auto length = EncodedNumber(file, at, chunkEnd);
            if (!start || !length) return std::nullopt;
            const Entry entry{static_cast<std::uint32_t>(*first), *start, *length};
            if (name == AsciiLowerCase(kControlData)) controlData.push_back(entry);
            if (name == AsciiLowerCase(kResetTable)) resetTables.push_back(entry);
        }
    }
    // chmlib does without compression when either object lies in the compressed section (1), but
    // takes any other section than the uncompressed one (0) for compressed too; and it divides by
    // what it read of the control data even when that was damaged.
    const auto sound = [](const std::vector<Entry>& entries) {
        return std::all_of(entries.begin(), entries.end(), [](const Entry& entry) { return entry.space <= 1; });
    };
    if (!sound(controlData) || !sound(resetTables)) return std::nullopt;
    for (const Entry& entry : controlData) {
        const auto data = Bytes(file, *objects, entry);
        if (entry.space == 0 && (!data || !SoundControlData(*data))) return std::nullopt;
    }
    std::uint64_t compressed = UINT64_MAX;
    for (const Entry& entry : resetTables) {
        if (entry.space != 0) continue;
        const auto table = Bytes(file, *objects, entry);
        const auto length = table ? ResetTableLength(*table) : std::nullopt;
        if (!length) return std::nullopt;
        compressed = std::min(compressed, *length);
    }
    return compressed == UINT64_MAX ? 0 : compressed;
}

}  // namespace quillon
