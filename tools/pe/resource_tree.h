#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pe_builder {

constexpr std::uint16_t version_resource_type = 16;  // RT_VERSION

// One resource: where the tree files it, and its bytes.
struct Resource {
    std::uint16_t type = version_resource_type;
    std::uint16_t id = 1;
    // When not empty, the resource is filed under this text instead of `id`.
    std::u16string name;
    std::uint16_t language = 0x0409;
    std::vector<std::uint8_t> data;
};

// The content of a resource section that the image maps at `section_rva`.
struct ResourceSection {
    std::vector<std::uint8_t> bytes;
    // Where, from the start of the section, each resource's data entry
    // (RVA and size) and its data lie, in the order of the resources given.
    std::vector<std::size_t> data_entry_offsets;
    std::vector<std::size_t> data_offsets;
};

// The tree type -> name -> language -> data of `resources`. Each table lists
// its entries in the order the resources first name them, named entries
// before those with an id as the format demands; nothing is sorted, so a
// test can write tables in any order.
ResourceSection write_resource_section(const std::vector<Resource>& resources,
                                       std::uint32_t section_rva);

}  // namespace pe_builder
