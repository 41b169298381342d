#pragma once

#include <cstdint>
#include <optional>
#include <vector>

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

    // The data of the resource with the ids `type` and `name`; a resource
    // filed under a text name is never it. Of several languages it takes the
    // one Windows takes: language-neutral (0), else US English (0x0409), else
    // the first. Nothing when the resource is missing or the tree does not
    // have that shape.
    std::optional<ByteView> find(std::uint16_t type, std::uint16_t name) const;

  private:
    struct Entry {
        std::uint32_t name = 0;
        std::uint32_t target = 0;
    };

    ResourceDirectory(const PeImage& image, ByteView tree) : image_(image), tree_(tree) {}

    // The entries of the table at `offset`, as far as the tree holds them.
    std::vector<Entry> entries_of(std::uint32_t offset) const;
    // The entries of the table that `entry` leads to, if it leads to one.
    std::optional<std::vector<Entry>> table_of(const std::optional<Entry>& entry) const;
    static std::optional<Entry> with_id(const std::vector<Entry>& entries, std::uint16_t id);
    static std::optional<Entry> language_of(const std::vector<Entry>& entries);

    const PeImage& image_;
    ByteView tree_;
};

// The version record (RT_VERSION resource) of a PE file held in memory;
// nothing when `file` is not a PE file or has none.
std::optional<ByteView> find_version_record(ByteView file);

}  // namespace platform::pe
