#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Reads the version record (the version resource) that Windows executables
// and controls carry, the way the Windows version functions present it.
class VersionInfo {
  public:
    VersionInfo() = default;
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;
    virtual ~VersionInfo() = default;

    // Size in bytes of the file's version record; 0 when it has none or the
    // file cannot be read.
    virtual std::uint32_t record_size(const std::string& path) = 0;
    // Fills buffer (at least record_size bytes) with the record; false on failure.
    virtual bool read_record(const std::string& path, std::vector<std::uint8_t>& buffer) = 0;
    // The value of a sub-block of a record read by read_record, such as
    // "\VarFileInfo\Translation" (its raw bytes) or
    // "\StringFileInfo\040904B0\ProductVersion" (Windows-1252 text ending in
    // NUL). Names match without regard to letter case. Nothing when the
    // sub-block is missing.
    virtual std::optional<std::vector<std::uint8_t>> query_value(
        const std::vector<std::uint8_t>& record, const std::string& sub_block) = 0;
};

}  // namespace platform
