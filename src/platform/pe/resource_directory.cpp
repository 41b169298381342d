#include "platform/pe/resource_directory.h"

namespace platform::pe {

namespace {

constexpr std::uint16_t version_type = 16;  // RT_VERSION
constexpr std::uint16_t version_name = 1;   // VS_VERSION_INFO
constexpr std::uint32_t high_bit = 0x80000000;
constexpr std::size_t table_header_size = 16;
constexpr std::size_t entry_size = 8;

}  // namespace

std::optional<ResourceDirectory> ResourceDirectory::of(const PeImage& image) {
    if (image.resource_rva() == 0) {
        return std::nullopt;
    }
    const auto tree = image.bytes_from(image.resource_rva());
    if (!tree) {
        return std::nullopt;
    }
    return ResourceDirectory(image, *tree);
}

std::optional<ResourceDirectory::Entry> ResourceDirectory::pick(std::uint32_t offset, Choice choice,
                                                                std::uint16_t id) const {
    const auto named = tree_.u16(std::size_t{offset} + 12);
    const auto numbered = tree_.u16(std::size_t{offset} + 14);
    if (!named || !numbered) {
        return std::nullopt;
    }
    // Named entries come first, then those with an id; every entry is read
    // through the view, so counts larger than the tree only end the search.
    const std::size_t count = std::size_t{*named} + *numbered;
    std::optional<Entry> first;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = std::size_t{offset} + table_header_size + i * entry_size;
        const auto name = tree_.u32(at);
        const auto target = tree_.u32(at + 4);
        if (!name || !target) {
            break;
        }
        const Entry entry{*name, *target};
        if (!first) {
            first = entry;
        }
        if (choice != Choice::First && (entry.name & high_bit) == 0 && entry.name == id) {
            return entry;
        }
    }
    if (choice == Choice::ById) {
        return std::nullopt;
    }
    return first;
}

std::optional<std::uint32_t> ResourceDirectory::subdirectory(const Entry& entry) {
    if ((entry.target & high_bit) == 0) {
        return std::nullopt;
    }
    return entry.target & ~high_bit;
}

std::optional<ByteView> ResourceDirectory::find(std::uint16_t type) const {
    // Exactly three tables deep: a tree that points back into itself can
    // send the walk to the wrong table but never round in circles.
    const auto type_entry = pick(0, Choice::ById, type);
    const auto names = type_entry ? subdirectory(*type_entry) : std::nullopt;
    const auto name_entry = names ? pick(*names, Choice::PreferIdOne, version_name) : std::nullopt;
    const auto languages = name_entry ? subdirectory(*name_entry) : std::nullopt;
    const auto language_entry = languages ? pick(*languages, Choice::First, 0) : std::nullopt;
    if (!language_entry || subdirectory(*language_entry)) {
        return std::nullopt;
    }
    const auto data_rva = tree_.u32(language_entry->target);
    const auto data_size = tree_.u32(std::size_t{language_entry->target} + 4);
    if (!data_rva || !data_size || *data_size == 0) {
        return std::nullopt;
    }
    return image_.bytes_at(*data_rva, *data_size);
}

std::optional<ByteView> find_version_record(ByteView file) {
    const auto image = PeImage::parse(file);
    const auto resources = image ? ResourceDirectory::of(*image) : std::nullopt;
    return resources ? resources->find(version_type) : std::nullopt;
}

}  // namespace platform::pe
