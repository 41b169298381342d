#include "platform/pe/resource_directory.h"

namespace platform::pe {

namespace {

constexpr std::uint16_t version_type = 16;  // RT_VERSION
constexpr std::uint16_t version_name = 1;   // VS_VERSION_INFO
constexpr std::uint16_t neutral_language = 0x0000;
constexpr std::uint16_t us_english = 0x0409;
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

std::vector<ResourceDirectory::Entry> ResourceDirectory::entries_of(std::uint32_t offset) const {
    std::vector<Entry> entries;
    const auto named = tree_.u16(std::size_t{offset} + 12);
    const auto numbered = tree_.u16(std::size_t{offset} + 14);
    if (!named || !numbered) {
        return entries;
    }
    // Named entries come first, then those with an id; every entry is read
    // through the view, so counts larger than the tree only end the list.
    const std::size_t count = std::size_t{*named} + *numbered;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = std::size_t{offset} + table_header_size + i * entry_size;
        const auto name = tree_.u32(at);
        const auto target = tree_.u32(at + 4);
        if (!name || !target) {
            break;
        }
        entries.push_back({*name, *target});
    }
    return entries;
}

std::optional<std::vector<ResourceDirectory::Entry>> ResourceDirectory::table_of(
    const std::optional<Entry>& entry) const {
    if (!entry || (entry->target & high_bit) == 0) {
        return std::nullopt;
    }
    return entries_of(entry->target & ~high_bit);
}

std::optional<ResourceDirectory::Entry> ResourceDirectory::with_id(
    const std::vector<Entry>& entries, std::uint16_t id) {
    for (const Entry& entry : entries) {
        if ((entry.name & high_bit) == 0 && entry.name == id) {
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<ResourceDirectory::Entry> ResourceDirectory::language_of(
    const std::vector<Entry>& entries) {
    // Windows tries the user's language between these two; Linux has none
    // to give, and a file should read the same on every machine.
    for (const std::uint16_t language : {neutral_language, us_english}) {
        if (const auto entry = with_id(entries, language)) {
            return entry;
        }
    }
    if (entries.empty()) {
        return std::nullopt;
    }
    return entries.front();
}

std::optional<ByteView> ResourceDirectory::find(std::uint16_t type, std::uint16_t name) const {
    // Exactly three tables deep: a tree that points back into itself can
    // send the walk to the wrong table but never round in circles.
    const auto names = table_of(with_id(entries_of(0), type));
    const auto languages = names ? table_of(with_id(*names, name)) : std::nullopt;
    const auto language_entry = languages ? language_of(*languages) : std::nullopt;
    if (!language_entry || (language_entry->target & high_bit) != 0) {
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
    return resources ? resources->find(version_type, version_name) : std::nullopt;
}

}  // namespace platform::pe
