#include "pe/pe_builder.h"

#include <fstream>

#include "pe/byte_writer.h"

namespace pe_builder {

namespace {

constexpr std::uint32_t file_alignment = 0x200;
constexpr std::uint32_t section_alignment = 0x1000;
constexpr std::uint32_t headers_size = 0x200;  // everything up to the section table fits
constexpr std::uint32_t resource_rva = 0x1000;
constexpr std::uint32_t pe_offset = 0x40;
constexpr std::uint32_t subdirectory = 0x80000000;
constexpr std::uint32_t directory_count = 16;

constexpr std::uint32_t align_up(std::uint32_t value, std::uint32_t boundary) {
    return (value + boundary - 1) / boundary * boundary;
}

struct ResourceSection {
    std::vector<std::uint8_t> bytes;
    std::size_t data_entry_offset = 0;
    std::size_t record_offset = 0;
    std::size_t record_size = 0;
};

// A resource table with a single entry: header, then (id, target).
void write_table(ByteWriter& out, std::uint32_t id, std::uint32_t target) {
    out.u32(0);  // characteristics
    out.u32(0);  // time stamp
    out.u32(0);  // version
    out.u16(0);  // named entries
    out.u16(1);  // id entries
    out.u32(id);
    out.u32(target);
}

ResourceSection resource_section(const PeFile& file) {
    const std::vector<std::uint8_t> record = write_version_record(*file.version);
    const auto& translations = file.version->translations;
    const std::uint16_t language =
        translations && !translations->empty() ? translations->front().language : 0x0409;
    // Three tables of 24 bytes each, then the data entry, then the data.
    ByteWriter out;
    write_table(out, file.resource_type, subdirectory | 24);
    write_table(out, 1, subdirectory | 48);
    write_table(out, language, 72);
    ResourceSection section;
    section.data_entry_offset = out.size();
    out.u32(resource_rva + 88);
    out.u32(static_cast<std::uint32_t>(record.size()));
    out.u32(0);  // code page
    out.u32(0);  // reserved
    section.record_offset = out.size();
    section.record_size = record.size();
    out.raw(record);
    section.bytes = out.take();
    return section;
}

void write_dos_header(ByteWriter& out) {
    out.ascii("MZ");
    out.zeros(0x3C - out.size());
    out.u32(pe_offset);
}

void write_coff_header(ByteWriter& out, bool wide, std::uint16_t sections) {
    out.ascii(std::string_view("PE\0\0", 4));
    out.u16(wide ? 0x8664 : 0x014C);  // x64 or x86
    out.u16(sections);
    out.u32(0);  // time stamp
    out.u32(0);  // symbol table
    out.u32(0);  // symbols
    out.u16(static_cast<std::uint16_t>((wide ? 112 : 96) + directory_count * 8));
    // An executable DLL image; the 32-bit form says so, the 64-bit one may
    // use addresses above 2 GiB.
    out.u16(wide ? 0x2022 : 0x2102);
}

void write_optional_header(ByteWriter& out, bool wide, std::uint32_t resource_virtual_size,
                           std::uint32_t resource_raw_size) {
    out.u16(wide ? 0x020B : 0x010B);
    out.u8(14);  // linker version
    out.u8(0);
    out.u32(0);                  // code
    out.u32(resource_raw_size);  // initialised data
    out.u32(0);                  // uninitialised data
    out.u32(0);                  // entry point: none, resources only
    out.u32(resource_rva);       // base of code
    if (wide) {
        out.u64(0x180000000);
    } else {
        out.u32(resource_rva);  // base of data
        out.u32(0x10000000);
    }
    out.u32(section_alignment);
    out.u32(file_alignment);
    for (const std::uint16_t version : {6, 0, 0, 0, 6, 0}) {  // OS, image, subsystem
        out.u16(version);
    }
    out.u32(0);  // Win32 version value
    out.u32(align_up(resource_rva + resource_virtual_size, section_alignment));
    out.u32(headers_size);
    out.u32(0);       // checksum
    out.u16(2);       // Windows GUI
    out.u16(0x0140);  // relocatable, NX compatible
    for (const std::uint32_t size : {0x100000, 0x1000, 0x100000, 0x1000}) {  // stack, heap
        if (wide) {
            out.u64(size);
        } else {
            out.u32(size);
        }
    }
    out.u32(0);  // loader flags
    out.u32(directory_count);
    for (std::uint32_t i = 0; i < directory_count; ++i) {
        const bool resources = i == 2 && resource_virtual_size != 0;
        out.u32(resources ? resource_rva : 0);
        out.u32(resources ? resource_virtual_size : 0);
    }
}

void write_section_header(ByteWriter& out, std::uint32_t virtual_size, std::uint32_t raw_size) {
    out.ascii(std::string_view(".rsrc\0\0\0", 8));
    out.u32(virtual_size);
    out.u32(resource_rva);
    out.u32(raw_size);
    out.u32(headers_size);
    out.zeros(12);        // relocations, line numbers and their counts
    out.u32(0x40000040);  // initialised data, readable
}

}  // namespace

BuiltPe build_pe(const PeFile& file) {
    const bool wide = file.bitness == Bitness::Pe32Plus;
    ResourceSection resources;
    if (file.version) {
        resources = resource_section(file);
    }
    const auto virtual_size = static_cast<std::uint32_t>(resources.bytes.size());
    const std::uint32_t raw_size = align_up(virtual_size, file_alignment);

    ByteWriter out;
    write_dos_header(out);
    write_coff_header(out, wide, file.version ? 1 : 0);
    write_optional_header(out, wide, virtual_size, raw_size);
    if (file.version) {
        write_section_header(out, virtual_size, raw_size);
    }
    out.zeros(headers_size - out.size());
    out.raw(resources.bytes);
    out.align(file_alignment);

    BuiltPe built;
    built.bytes = out.take();
    if (file.version) {
        built.resource_offset = headers_size;
        built.data_entry_offset = headers_size + resources.data_entry_offset;
        built.record_offset = headers_size + resources.record_offset;
        built.record_size = resources.record_size;
    }
    return built;
}

VersionRecord navctrl_record() {
    VersionRecord record;
    record.file_version_ms = 0x00020014;  // 2.20
    record.product_version_ms = 0x00020014;
    const Translation translation{0x0409, 1252};
    record.translations = std::vector<Translation>{translation};
    record.string_tables = {{translation_key(translation),
                             {
                                 {u"CompanyName", u"Orvanta Project"},
                                 {u"FileDescription", u"Orvanta simulated navigator control"},
                                 {u"FileVersion", u"2.20"},
                                 {u"InternalName", u"NAVCTRL"},
                                 {u"LegalCopyright", u"Copyright (C) 2026 Orvanta Project"},
                                 {u"OriginalFilename", u"NAVCTRL.OCX"},
                                 {u"ProductName", u"Orvanta"},
                                 {u"ProductVersion", u"2.20"},
                             }}};
    return record;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace pe_builder
