#include "platform/pe/version_block.h"

#include <algorithm>

#include "platform/pe/ascii_case.h"
#include "util/cp1252.h"

namespace platform::pe {

namespace {

constexpr std::size_t header_size = 6;
constexpr std::uint16_t text_type = 1;

constexpr std::size_t align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// Keys are compared as the Windows-1252 text a caller's name is written in.
bool same_name(const std::u16string& key, std::string_view name) {
    return equal_ignoring_ascii_case(util::cp1252_from_utf16(key), name);
}

}  // namespace

std::optional<VersionBlock> VersionBlock::parse(ByteView record, std::size_t start,
                                                std::size_t limit) {
    limit = std::min(limit, record.size());
    if (start > limit || limit - start < header_size) {
        return std::nullopt;
    }
    const auto length = record.u16(start);
    const auto value_length = record.u16(start + 2);
    const auto type = record.u16(start + 4);
    // A block shorter than its header would let a walk over siblings stand
    // still; one longer than its parent is cut to the parent's end.
    if (!length || !value_length || !type || *length < header_size) {
        return std::nullopt;
    }
    VersionBlock block;
    block.record_ = record;
    block.end_ = std::min(start + *length, limit);
    block.value_length_ = *value_length;
    block.type_ = *type;
    std::size_t at = start + header_size;
    for (;;) {
        if (at + 2 > block.end_) {
            return std::nullopt;
        }
        const char16_t unit = *record.u16(at);
        at += 2;
        if (unit == 0) {
            break;
        }
        block.key_ += unit;
    }
    block.value_start_ = std::min(align4(at), block.end_);
    return block;
}

std::size_t VersionBlock::value_bytes() const {
    return type_ == text_type ? std::size_t{value_length_} * 2 : value_length_;
}

ByteView VersionBlock::binary_value() const {
    const std::size_t available = end_ - value_start_;
    return *record_.slice(value_start_, std::min(value_bytes(), available));
}

std::u16string VersionBlock::text_value() const {
    const std::size_t available = end_ - value_start_;
    const std::size_t units = std::min(std::size_t{value_length_}, available / 2);
    std::u16string text;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = *record_.u16(value_start_ + i * 2);
        if (unit == 0) {
            break;
        }
        text += unit;
    }
    return text;
}

std::optional<VersionBlock> VersionBlock::child(std::string_view name) const {
    // Each sibling starts at least one header further on, so the walk ends.
    for (std::size_t at = align4(value_start_ + value_bytes()); at + header_size <= end_;) {
        const auto block = parse(record_, at, end_);
        if (!block) {
            return std::nullopt;
        }
        if (same_name(block->key_, name)) {
            return block;
        }
        at = align4(block->end_);
    }
    return std::nullopt;
}

}  // namespace platform::pe
