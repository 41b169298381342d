#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pe/byte_view.h"

namespace platform::pe {

// One block of a version record. Every block, the record itself included, is
//
//   wLength        bytes of the block, children included
//   wValueLength   length of the value (WORDs for text, bytes otherwise)
//   wType          1 for text, 0 for binary
//   szKey          UTF-16, NUL-terminated
//   padding        to a multiple of 4 bytes
//   Value
//   padding        to a multiple of 4 bytes
//   Children       blocks, each starting at a multiple of 4 bytes
//
// Offsets count from the start of the record, which is where the alignment
// counts from too. Parsing trusts no length: a block ends no later than its
// parent, and its value and children end no later than the block.
class VersionBlock {
  public:
    // The block at `start` of `record`, which must end by `limit`. Nothing
    // when its header or key does not fit.
    static std::optional<VersionBlock> parse(ByteView record, std::size_t start, std::size_t limit);

    const std::u16string& key() const { return key_; }
    std::size_t end() const { return end_; }

    // The child whose key equals `name` without regard to ASCII letter case.
    std::optional<VersionBlock> child(std::string_view name) const;

    // The value's bytes as wType and wValueLength give them.
    ByteView binary_value() const;
    // The value as text: wValueLength counts WORDs, with or without the
    // terminator depending on who wrote the file, so the text ends at the
    // first NUL or at the value's end, whichever comes first.
    std::u16string text_value() const;

  private:
    VersionBlock() = default;

    // The value's length in bytes as the header gives it, which may run past
    // the block.
    std::size_t value_bytes() const;

    ByteView record_;
    std::size_t end_ = 0;
    std::size_t value_start_ = 0;
    std::uint16_t value_length_ = 0;
    std::uint16_t type_ = 0;
    std::u16string key_;
};

}  // namespace platform::pe
