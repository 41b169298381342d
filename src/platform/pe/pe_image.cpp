#include "platform/pe/pe_image.h"

#include <algorithm>
#include <utility>

namespace platform::pe {

namespace {

constexpr std::uint16_t dos_magic = 0x5A4D;         // "MZ"
constexpr std::uint32_t pe_signature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t pe32_magic = 0x010B;
constexpr std::uint16_t pe32_plus_magic = 0x020B;
constexpr std::size_t new_header_field = 0x3C;
constexpr std::size_t coff_header_size = 20;
constexpr std::size_t section_header_size = 40;
constexpr std::uint32_t resource_directory_index = 2;

// Where the data directories follow the optional header's fixed fields, which
// are longer in the 64-bit form because its addresses are.
struct OptionalHeaderLayout {
    std::size_t directory_count_field;
    std::size_t first_directory;
};

std::optional<OptionalHeaderLayout> layout_for(std::uint16_t magic) {
    if (magic == pe32_magic) {
        return OptionalHeaderLayout{92, 96};
    }
    if (magic == pe32_plus_magic) {
        return OptionalHeaderLayout{108, 112};
    }
    return std::nullopt;
}

}  // namespace

PeImage::PeImage(ByteView file, bool is_64_bit, std::uint32_t resource_rva,
                 std::vector<Section> sections)
    : file_(file),
      is_64_bit_(is_64_bit),
      resource_rva_(resource_rva),
      sections_(std::move(sections)) {}

std::optional<PeImage> PeImage::parse(ByteView file) {
    if (file.u16(0) != dos_magic) {
        return std::nullopt;
    }
    const auto pe_offset = file.u32(new_header_field);
    if (!pe_offset || file.u32(*pe_offset) != pe_signature) {
        return std::nullopt;
    }
    const auto coff = file.slice(std::size_t{*pe_offset} + 4, coff_header_size);
    if (!coff) {
        return std::nullopt;
    }
    const std::uint16_t section_count = *coff->u16(2);
    const std::uint16_t optional_size = *coff->u16(16);
    const std::size_t optional_offset = std::size_t{*pe_offset} + 4 + coff_header_size;
    const auto optional = file.slice(optional_offset, optional_size);
    if (!optional) {
        return std::nullopt;
    }
    const auto magic = optional->u16(0);
    const auto layout = magic ? layout_for(*magic) : std::nullopt;
    if (!layout) {
        return std::nullopt;
    }

    // A directory that the header does not count, or that lies beyond the
    // optional header, is absent rather than an error, as for the loader.
    std::uint32_t resource_rva = 0;
    const auto directory_count = optional->u32(layout->directory_count_field);
    if (directory_count && *directory_count > resource_directory_index) {
        const std::size_t entry = layout->first_directory + resource_directory_index * 8;
        const auto rva = optional->u32(entry);
        const auto size = optional->u32(entry + 4);
        if (rva && size && *size != 0) {
            resource_rva = *rva;
        }
    }

    const auto table = file.slice(optional_offset + optional_size,
                                  std::size_t{section_count} * section_header_size);
    if (!table) {
        return std::nullopt;
    }
    std::vector<Section> sections;
    sections.reserve(section_count);
    for (std::size_t i = 0; i < section_count; ++i) {
        const std::size_t header = i * section_header_size;
        const std::uint32_t virtual_address = *table->u32(header + 12);
        const std::uint32_t raw_size = *table->u32(header + 16);
        const std::uint32_t raw_offset = *table->u32(header + 20);
        // Version records are read from the file as data, not from a loaded
        // image: all of a section's raw data counts, past its VirtualSize
        // too, as far as the file holds it.
        const std::size_t in_file = raw_offset < file.size()
                                        ? std::min<std::size_t>(raw_size, file.size() - raw_offset)
                                        : 0;
        sections.push_back({virtual_address, static_cast<std::uint32_t>(in_file), raw_offset});
    }
    return PeImage(file, *magic == pe32_plus_magic, resource_rva, std::move(sections));
}

const PeImage::Section* PeImage::section_of(std::uint32_t rva) const {
    for (const Section& section : sections_) {
        if (rva >= section.virtual_address && rva - section.virtual_address < section.backed_size) {
            return &section;
        }
    }
    return nullptr;
}

std::optional<ByteView> PeImage::bytes_at(std::uint32_t rva, std::uint32_t size) const {
    const auto from = bytes_from(rva);
    if (!from) {
        return std::nullopt;
    }
    return from->slice(0, size);
}

std::optional<ByteView> PeImage::bytes_from(std::uint32_t rva) const {
    const Section* section = section_of(rva);
    if (section == nullptr) {
        return std::nullopt;
    }
    const std::uint32_t into = rva - section->virtual_address;
    return file_.slice(std::size_t{section->file_offset} + into, section->backed_size - into);
}

}  // namespace platform::pe
