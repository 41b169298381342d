#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pe/resource_tree.h"
#include "pe/version_record_writer.h"

// Writes small PE files with a version record of our choosing, for the tests'
// fixtures and for the simulated navigator's NAVCTRL.OCX.
namespace pe_builder {

enum class Bitness { Pe32, Pe32Plus };

struct PeFile {
    Bitness bitness = Bitness::Pe32;
    // All in one .rsrc section; none writes a file without sections.
    std::vector<Resource> resources;
    // What the section header gives as VirtualSize instead of the size of
    // what the section holds.
    std::optional<std::uint32_t> virtual_size;
};

// A written file and where the first resource lies, for tests that damage it.
struct BuiltPe {
    std::vector<std::uint8_t> bytes;
    std::size_t section_header_offset = 0;
    std::size_t resource_offset = 0;    // root of the resource tree
    std::size_t data_entry_offset = 0;  // RVA and size of the record
    std::size_t record_offset = 0;
    std::size_t record_size = 0;
};

BuiltPe build_pe(const PeFile& file);

// `record` filed as resource compilers file it: version type, id 1, in the
// language of its first translation (US English without one).
Resource version_resource(const VersionRecord& record);

// The record of our NAVCTRL.OCX: version 2.20, translation 0409 / 1252.
VersionRecord navctrl_record();

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace pe_builder
