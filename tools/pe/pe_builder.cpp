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
constexpr std::uint32_t directory_count = 16;

constexpr std::uint32_t align_up(std::uint32_t value, std::uint32_t boundary) {
    return (value + boundary - 1) / boundary * boundary;
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
                           std::uint32_t resource_size, std::uint32_t resource_raw_size) {
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
        const bool resources = i == 2 && resource_size != 0;
        out.u32(resources ? resource_rva : 0);
        out.u32(resources ? resource_size : 0);
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
    const bool has_section = !file.resources.empty();
    ResourceSection resources;
    if (has_section) {
        resources = write_resource_section(file.resources, resource_rva);
    }
    const auto resource_size = static_cast<std::uint32_t>(resources.bytes.size());
    const std::uint32_t virtual_size = file.virtual_size.value_or(resource_size);
    const std::uint32_t raw_size = align_up(resource_size, file_alignment);

    ByteWriter out;
    write_dos_header(out);
    write_coff_header(out, wide, has_section ? 1 : 0);
    write_optional_header(out, wide, virtual_size, resource_size, raw_size);
    BuiltPe built;
    if (has_section) {
        built.section_header_offset = out.size();
        write_section_header(out, virtual_size, raw_size);
    }
    out.zeros(headers_size - out.size());
    out.raw(resources.bytes);
    out.align(file_alignment);

    built.bytes = out.take();
    if (has_section) {
        built.resource_offset = headers_size;
        built.data_entry_offset = headers_size + resources.data_entry_offsets.front();
        built.record_offset = headers_size + resources.data_offsets.front();
        built.record_size = file.resources.front().data.size();
    }
    return built;
}

Resource version_resource(const VersionRecord& record) {
    Resource resource;
    const auto& translations = record.translations;
    if (translations && !translations->empty()) {
        resource.language = translations->front().language;
    }
    resource.data = write_version_record(record);
    return resource;
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
