#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform::pe {

// Read-only view of bytes whose every read is checked against the view's end.
// Files and records come from outside the program, so no offset or length in
// them is trusted: a read that would leave the view yields nothing instead.
// Multi-byte numbers are little-endian, as Windows writes them.
class ByteView {
  public:
    ByteView() = default;
    explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    bool contains(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::optional<std::uint16_t> u16(std::size_t offset) const {
        if (!contains(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }

    std::optional<std::uint32_t> u32(std::size_t offset) const {
        if (!contains(offset, 4)) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(bytes_[offset]) |
               (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
    }

    // The `length` bytes at `offset`, all of which must lie in the view.
    std::optional<ByteView> slice(std::size_t offset, std::size_t length) const {
        if (!contains(offset, length)) {
            return std::nullopt;
        }
        return ByteView(bytes_.subspan(offset, length));
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace platform::pe
