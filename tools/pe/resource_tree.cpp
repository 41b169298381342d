#include "pe/resource_tree.h"

#include <algorithm>

#include "pe/byte_writer.h"

namespace pe_builder {

namespace {

constexpr std::uint32_t subdirectory = 0x80000000;
constexpr std::uint32_t named = 0x80000000;
constexpr std::size_t data_entry_size = 16;

std::size_t table_size(std::size_t entries) {
    return 16 + 8 * entries;
}

std::size_t align4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

struct NameNode {
    std::uint16_t id = 0;
    std::u16string name;
    std::vector<std::size_t> resources;  // one per language
    std::size_t table = 0;
    std::size_t name_offset = 0;
};

struct TypeNode {
    std::uint16_t type = 0;
    std::vector<NameNode> names;
    std::size_t table = 0;
};

std::vector<TypeNode> tree_of(const std::vector<Resource>& resources) {
    std::vector<TypeNode> types;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const Resource& resource = resources[i];
        auto type = std::find_if(types.begin(), types.end(),
                                 [&](const TypeNode& node) { return node.type == resource.type; });
        if (type == types.end()) {
            type = types.insert(types.end(), TypeNode{resource.type, {}, 0});
        }
        auto name = std::find_if(type->names.begin(), type->names.end(), [&](const NameNode& node) {
            return node.id == resource.id && node.name == resource.name;
        });
        if (name == type->names.end()) {
            name = type->names.insert(type->names.end(),
                                      NameNode{resource.id, resource.name, {}, 0, 0});
        }
        name->resources.push_back(i);
    }
    for (TypeNode& type : types) {
        std::stable_partition(type.names.begin(), type.names.end(),
                              [](const NameNode& node) { return !node.name.empty(); });
    }
    return types;
}

void write_table_header(ByteWriter& out, std::uint16_t named_entries, std::uint16_t id_entries) {
    out.u32(0);  // characteristics
    out.u32(0);  // time stamp
    out.u32(0);  // version
    out.u16(named_entries);
    out.u16(id_entries);
}

}  // namespace

ResourceSection write_resource_section(const std::vector<Resource>& resources,
                                       std::uint32_t section_rva) {
    std::vector<TypeNode> types = tree_of(resources);

    // Tables level by level, then the data entries, the names and the data.
    std::size_t at = table_size(types.size());
    for (TypeNode& type : types) {
        type.table = at;
        at += table_size(type.names.size());
    }
    for (TypeNode& type : types) {
        for (NameNode& name : type.names) {
            name.table = at;
            at += table_size(name.resources.size());
        }
    }
    ResourceSection section;
    section.data_entry_offsets.resize(resources.size());
    section.data_offsets.resize(resources.size());
    for (const TypeNode& type : types) {
        for (const NameNode& name : type.names) {
            for (const std::size_t resource : name.resources) {
                section.data_entry_offsets[resource] = at;
                at += data_entry_size;
            }
        }
    }
    for (TypeNode& type : types) {
        for (NameNode& name : type.names) {
            if (!name.name.empty()) {
                name.name_offset = at;
                at += 2 + 2 * name.name.size();
            }
        }
    }
    for (std::size_t i = 0; i < resources.size(); ++i) {
        at = align4(at);
        section.data_offsets[i] = at;
        at += resources[i].data.size();
    }

    ByteWriter out;
    write_table_header(out, 0, static_cast<std::uint16_t>(types.size()));
    for (const TypeNode& type : types) {
        out.u32(type.type);
        out.u32(subdirectory | static_cast<std::uint32_t>(type.table));
    }
    for (const TypeNode& type : types) {
        const auto named_entries = std::count_if(type.names.begin(), type.names.end(),
                                                 [](const NameNode& n) { return !n.name.empty(); });
        write_table_header(out, static_cast<std::uint16_t>(named_entries),
                           static_cast<std::uint16_t>(type.names.size() - named_entries));
        for (const NameNode& name : type.names) {
            out.u32(name.name.empty() ? name.id
                                      : named | static_cast<std::uint32_t>(name.name_offset));
            out.u32(subdirectory | static_cast<std::uint32_t>(name.table));
        }
    }
    for (const TypeNode& type : types) {
        for (const NameNode& name : type.names) {
            write_table_header(out, 0, static_cast<std::uint16_t>(name.resources.size()));
            for (const std::size_t resource : name.resources) {
                out.u32(resources[resource].language);
                out.u32(static_cast<std::uint32_t>(section.data_entry_offsets[resource]));
            }
        }
    }
    for (const TypeNode& type : types) {
        for (const NameNode& name : type.names) {
            for (const std::size_t resource : name.resources) {
                out.u32(section_rva + static_cast<std::uint32_t>(section.data_offsets[resource]));
                out.u32(static_cast<std::uint32_t>(resources[resource].data.size()));
                out.u32(0);  // code page
                out.u32(0);  // reserved
            }
        }
    }
    for (const TypeNode& type : types) {
        for (const NameNode& name : type.names) {
            if (!name.name.empty()) {
                out.u16(static_cast<std::uint16_t>(name.name.size()));
                out.utf16(name.name);
            }
        }
    }
    for (const Resource& resource : resources) {
        out.align(4);
        out.raw(resource.data);
    }
    section.bytes = out.take();
    return section;
}

}  // namespace pe_builder
