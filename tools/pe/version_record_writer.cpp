#include "pe/version_record_writer.h"

#include <cstdio>
#include <functional>
#include <span>
#include <string_view>

#include "pe/byte_writer.h"

namespace pe_builder {

namespace {

constexpr std::uint16_t binary_type = 0;
constexpr std::uint16_t text_type = 1;

std::u16string widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

// Writes one block at the next multiple of 4 bytes and sets its length once
// `children` has written what it holds.
void write_block(ByteWriter& out, std::u16string_view key, std::uint16_t type,
                 std::uint16_t value_length, std::span<const std::uint8_t> value,
                 const std::function<void()>& children = {}) {
    out.align(4);
    const std::size_t start = out.size();
    out.u16(0);
    out.u16(value_length);
    out.u16(type);
    out.utf16(key);
    out.u16(0);
    out.align(4);
    out.raw(value);
    if (children) {
        children();
    }
    out.patch_u16(start, static_cast<std::uint16_t>(out.size() - start));
}

void write_string(ByteWriter& out, const StringEntry& entry, StringLength counting) {
    ByteWriter value;
    value.utf16(entry.value);
    value.u16(0);
    std::size_t length = entry.value.size() + 1;
    if (counting == StringLength::WordsWithoutNul) {
        length = entry.value.size();
    } else if (counting == StringLength::Bytes) {
        length = value.size();
    }
    write_block(out, entry.key, text_type, static_cast<std::uint16_t>(length), value.bytes());
}

std::vector<std::uint8_t> fixed_file_info(const VersionRecord& record) {
    ByteWriter info;
    info.u32(0xFEEF04BD);  // signature
    info.u32(0x00010000);  // structure version 1.0
    info.u32(record.file_version_ms);
    info.u32(record.file_version_ls);
    info.u32(record.product_version_ms);
    info.u32(record.product_version_ls);
    info.u32(0x3F);        // flags mask
    info.u32(0);           // flags
    info.u32(0x00040004);  // VOS_NT_WINDOWS32
    info.u32(2);           // VFT_DLL, as controls are
    info.u32(0);           // subtype
    info.u32(0);           // date, high
    info.u32(0);           // date, low
    return info.take();
}

}  // namespace

std::string translation_key(Translation translation) {
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", translation.language, translation.code_page);
    return key;
}

std::vector<std::uint8_t> write_version_record(const VersionRecord& record) {
    ByteWriter out;
    const std::vector<std::uint8_t> fixed = fixed_file_info(record);
    write_block(out, u"VS_VERSION_INFO", binary_type, static_cast<std::uint16_t>(fixed.size()),
                fixed, [&] {
                    write_block(out, u"StringFileInfo", text_type, 0, {}, [&] {
                        for (const StringTable& table : record.string_tables) {
                            write_block(out, widen(table.key), text_type, 0, {}, [&] {
                                for (const StringEntry& entry : table.strings) {
                                    write_string(out, entry, record.string_length);
                                }
                            });
                        }
                    });
                    if (!record.translations) {
                        return;
                    }
                    ByteWriter pairs;
                    for (const Translation& translation : *record.translations) {
                        pairs.u16(translation.language);
                        pairs.u16(translation.code_page);
                    }
                    write_block(out, u"VarFileInfo", text_type, 0, {}, [&] {
                        write_block(out, u"Translation", binary_type,
                                    static_cast<std::uint16_t>(pairs.size()), pairs.bytes());
                    });
                });
    return out.take();
}

}  // namespace pe_builder
