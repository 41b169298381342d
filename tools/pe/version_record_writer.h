#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pe_builder {

struct Translation {
    std::uint16_t language = 0x0409;
    std::uint16_t code_page = 1200;
};

// Eight upper-case hex digits, language first: the key of the string table
// for that translation, such as "040904B0".
std::string translation_key(Translation translation);

struct StringEntry {
    std::u16string key;
    std::u16string value;
};

struct StringTable {
    std::string key;  // eight hex digits, see translation_key
    std::vector<StringEntry> strings;
};

// How a string's wValueLength counts its value. Resource compilers disagree,
// so readers have to cope with each.
enum class StringLength { WordsWithNul, WordsWithoutNul, Bytes };

// The content of a version record. Every string is written with its NUL.
struct VersionRecord {
    std::uint32_t file_version_ms = 0x00010000;
    std::uint32_t file_version_ls = 0;
    std::uint32_t product_version_ms = 0x00010000;
    std::uint32_t product_version_ls = 0;
    std::vector<StringTable> string_tables;
    // Nothing leaves out VarFileInfo altogether.
    std::optional<std::vector<Translation>> translations = std::vector<Translation>{{}};
    StringLength string_length = StringLength::WordsWithNul;
};

// The bytes of the record (VS_VERSIONINFO) as a resource compiler lays it out.
std::vector<std::uint8_t> write_version_record(const VersionRecord& record);

}  // namespace pe_builder
