#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/pe/byte_view.h"

namespace platform::pe {

// The headers of a PE file (32- or 64-bit) and the way from an address in the
// loaded image (an RVA) to the bytes in the file that hold it. Only what the
// version record needs is kept: the sections and the resource directory.
class PeImage {
  public:
    // Nothing when `file` is not a PE file or its headers or section table
    // lie outside it. A section cut short by the end of the file keeps what
    // the file holds. The image refers to `file`, which must outlive it.
    static std::optional<PeImage> parse(ByteView file);

    bool is_64_bit() const { return is_64_bit_; }

    // Where the resource directory starts; 0 when the image has none.
    std::uint32_t resource_rva() const { return resource_rva_; }

    // The `size` file bytes that hold the image at `rva`. They must all lie in
    // the file-backed part of one section.
    std::optional<ByteView> bytes_at(std::uint32_t rva, std::uint32_t size) const;
    // The file bytes from `rva` to the end of the file-backed part of its
    // section.
    std::optional<ByteView> bytes_from(std::uint32_t rva) const;

  private:
    struct Section {
        std::uint32_t virtual_address = 0;
        // Bytes of the section's raw data that the file holds; the rest of
        // the section is zeros in memory and never holds resources.
        std::uint32_t backed_size = 0;
        std::uint32_t file_offset = 0;
    };

    PeImage(ByteView file, bool is_64_bit, std::uint32_t resource_rva,
            std::vector<Section> sections);

    const Section* section_of(std::uint32_t rva) const;

    ByteView file_;
    bool is_64_bit_ = false;
    std::uint32_t resource_rva_ = 0;
    std::vector<Section> sections_;
};

}  // namespace platform::pe
