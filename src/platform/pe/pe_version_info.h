#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/version_info.h"

namespace platform::pe {

// The version record of Windows PE files (32- and 64-bit), read by our own
// parser since Linux has no Windows version functions. Files are untrusted:
// anything that is not a well-formed PE file with a version resource reads as
// having no record, and no query reads outside the record it is given.
class PeVersionInfo : public VersionInfo {
  public:
    // Larger files are refused unread; controls are far smaller.
    static constexpr std::size_t max_file_size = 64 * 1024 * 1024;

    std::uint32_t record_size(const std::string& path) override;
    // Writes the record at the start of `buffer`, enlarging it when it is
    // shorter and leaving any bytes after the record as they were.
    bool read_record(const std::string& path, std::vector<std::uint8_t>& buffer) override;
    std::optional<std::vector<std::uint8_t>> query_value(const std::vector<std::uint8_t>& record,
                                                         const std::string& sub_block) override;

  private:
    static std::optional<std::vector<std::uint8_t>> record_of(const std::string& path);
};

}  // namespace platform::pe
