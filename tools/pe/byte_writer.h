#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace pe_builder {

// Appends little-endian numbers and UTF-16 text to a growing byte buffer, and
// fills in lengths once what they count has been written.
class ByteWriter {
  public:
    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint16_t value) {
        u8(static_cast<std::uint8_t>(value));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void u64(std::uint64_t value) {
        u32(static_cast<std::uint32_t>(value));
        u32(static_cast<std::uint32_t>(value >> 32));
    }
    void raw(std::span<const std::uint8_t> data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }
    void ascii(std::string_view text) {
        for (const char c : text) {
            u8(static_cast<std::uint8_t>(c));
        }
    }
    void utf16(std::u16string_view text) {
        for (const char16_t unit : text) {
            u16(unit);
        }
    }
    void zeros(std::size_t count) { bytes_.resize(bytes_.size() + count, 0); }
    void align(std::size_t boundary) {
        while (bytes_.size() % boundary != 0) {
            u8(0);
        }
    }

    void patch_u16(std::size_t offset, std::uint16_t value) {
        bytes_.at(offset) = static_cast<std::uint8_t>(value);
        bytes_.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
    }
    void patch_u32(std::size_t offset, std::uint32_t value) {
        patch_u16(offset, static_cast<std::uint16_t>(value));
        patch_u16(offset + 2, static_cast<std::uint16_t>(value >> 16));
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace pe_builder
