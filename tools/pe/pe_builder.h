#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pe/version_record_writer.h"

// Writes small PE files with a version record of our choosing, for the tests'
// fixtures and for the simulated navigator's NAVCTRL.OCX.
namespace pe_builder {

enum class Bitness { Pe32, Pe32Plus };

constexpr std::uint16_t version_resource_type = 16;  // RT_VERSION

struct PeFile {
    Bitness bitness = Bitness::Pe32;
    // Nothing writes a file without resources, and without sections.
    std::optional<VersionRecord> version;
    // Another type files the record where no version reader looks.
    std::uint16_t resource_type = version_resource_type;
};

// A written file and where its parts lie, for tests that damage them.
struct BuiltPe {
    std::vector<std::uint8_t> bytes;
    std::size_t resource_offset = 0;    // root of the resource tree
    std::size_t data_entry_offset = 0;  // RVA and size of the record
    std::size_t record_offset = 0;
    std::size_t record_size = 0;
};

// One .rsrc section holding type -> id 1 -> language -> the record, the
// language being that of the first translation (US English without one).
BuiltPe build_pe(const PeFile& file);

// The record of our NAVCTRL.OCX: version 2.20, translation 0409 / 1252.
VersionRecord navctrl_record();

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace pe_builder
