#pragma once

#include <cstdint>
#include <optional>

#include "platform/pe/byte_view.h"
#include "platform/pe/pe_image.h"

namespace platform::pe {

// The resource tree of a PE image: type, then name or id, then language, then
// the data. Offsets inside the tree count from its root; the data itself is
// found by RVA.
class ResourceDirectory {
  public:
    // Nothing when the image has no resources or the root lies outside its
    // sections.
    static std::optional<ResourceDirectory> of(const PeImage& image);

    // The data of the resource with the id `type`. Of several names it takes
    // id 1, where resource compilers put the version record, else the first;
    // of several languages the first. Nothing when the type is missing or the
    // tree does not have that shape.
    std::optional<ByteView> find(std::uint16_t type) const;

  private:
    struct Entry {
        std::uint32_t name = 0;
        std::uint32_t target = 0;
    };
    enum class Choice { ById, PreferIdOne, First };

    ResourceDirectory(const PeImage& image, ByteView tree) : image_(image), tree_(tree) {}

    // The entry of the table at `offset` that `choice` picks for `id`.
    std::optional<Entry> pick(std::uint32_t offset, Choice choice, std::uint16_t id) const;
    // The table that an entry leads to, if it leads to one.
    static std::optional<std::uint32_t> subdirectory(const Entry& entry);

    const PeImage& image_;
    ByteView tree_;
};

// The version record (RT_VERSION resource) of a PE file held in memory;
// nothing when `file` is not a PE file or has none.
std::optional<ByteView> find_version_record(ByteView file);

}  // namespace platform::pe
