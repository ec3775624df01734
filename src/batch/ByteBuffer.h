#pragma once
// A growing byte buffer for output rows. Unlike a std::string its free space is not cleared when
// it grows: a writer asks for room for the longest row, writes through a pointer and says where it
// stopped, which keeps the formatting of a row free of per-character size checks.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace quillon::batch {

class ByteBuffer {
public:
    // Makes room for at least bytes more and returns where they go.
    char* Reserve(std::size_t bytes) {
        if (capacity_ - size_ < bytes) {
            const std::size_t capacity = std::max(capacity_ * 2, size_ + bytes);
            auto grown = std::make_unique_for_overwrite<char[]>(capacity);
            if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
            data_ = std::move(grown);
            capacity_ = capacity;
        }
        return data_.get() + size_;
    }
    // The content now ends at end, a pointer into the room Reserve gave.
    void Commit(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

    void Append(std::string_view bytes) {
        char* at = Reserve(bytes.size());
        if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
        Commit(at + bytes.size());
    }
    void Clear() { size_ = 0; }
    std::string_view View() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace quillon::batch
