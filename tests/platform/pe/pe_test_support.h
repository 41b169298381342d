#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pe/pe_builder.h"
#include "support/temp_folder.h"

namespace pe_test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder that writes PE files.
class TempFolder : public test_support::TempFolder {
  public:
    // Writes `bytes` to a file called `name` in the folder and gives its path.
    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::string path = (this->path() / name).string();
        pe_builder::write_file(path, bytes);
        return path;
    }
};

// What a string query returns for `text`: its bytes and a NUL.
inline std::optional<Bytes> with_nul(std::string_view text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

// A record with one US English Unicode table holding `strings`.
inline pe_builder::VersionRecord record_with(std::vector<pe_builder::StringEntry> strings) {
    pe_builder::VersionRecord record;
    record.string_tables = {{"040904B0", std::move(strings)}};
    return record;
}

inline pe_builder::BuiltPe pe_with(const pe_builder::VersionRecord& record,
                                   pe_builder::Bitness bitness = pe_builder::Bitness::Pe32) {
    pe_builder::PeFile file;
    file.bitness = bitness;
    file.resources = {pe_builder::version_resource(record)};
    return pe_builder::build_pe(file);
}

inline void put_u16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<std::uint8_t>(value);
    bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline void put_u32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    put_u16(bytes, offset, static_cast<std::uint16_t>(value));
    put_u16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace pe_test
