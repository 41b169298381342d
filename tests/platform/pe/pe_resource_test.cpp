#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/pe/pe_test_support.h"
#include "platform/pe/resource_directory.h"
#include "platform/pe/version_query.h"

namespace platform::pe {
namespace {

using pe_test::Bytes;

// The record find_version_record finds in `file`, as bytes.
std::optional<Bytes> record_in(const Bytes& file) {
    const auto record = find_version_record(ByteView(file));
    if (!record) {
        return std::nullopt;
    }
    return Bytes(record->bytes().begin(), record->bytes().end());
}

// One field of a file overwritten with a hostile value.
struct Damage {
    std::size_t offset;
    int width;  // 2 or 4 bytes
    std::uint32_t value;
};

Bytes damaged(Bytes file, const Damage& damage) {
    if (damage.width == 2) {
        pe_test::put_u16(file, damage.offset, static_cast<std::uint16_t>(damage.value));
    } else {
        pe_test::put_u32(file, damage.offset, damage.value);
    }
    return file;
}

class PeResourceTest : public ::testing::Test {
  protected:
    const pe_builder::BuiltPe built =
        pe_test::pe_with(pe_test::record_with({{u"ProductVersion", u"1.0"}}));
    const Bytes record{
        built.bytes.begin() + static_cast<long>(built.record_offset),
        built.bytes.begin() + static_cast<long>(built.record_offset + built.record_size)};
    const std::size_t pe_header = 0x40;
    const std::size_t optional_header = pe_header + 24;
};

TEST_F(PeResourceTest, FileCutShortHasItsRecordWhileItHoldsAllOfIt) {
    const std::size_t record_end = built.record_offset + built.record_size;
    ASSERT_LT(record_end, built.bytes.size());  // the section's padding follows
    for (std::size_t length = 0; length <= built.bytes.size(); ++length) {
        // A copy of exactly that length, so the sanitizers see any read past it.
        const Bytes cut(built.bytes.begin(), built.bytes.begin() + static_cast<long>(length));
        const auto found = record_in(cut);
        ASSERT_EQ(found.has_value(), length >= record_end) << length;
        if (found) {
            ASSERT_EQ(*found, record) << length;
        }
    }
}

TEST_F(PeResourceTest, DamagedHeadersDataOrTreeAreRejected) {
    const std::size_t section = built.section_header_offset;
    const std::size_t rva = built.data_entry_offset;
    const std::size_t size = built.data_entry_offset + 4;
    const std::size_t root = built.resource_offset;
    for (const Damage& damage :
         std::vector<Damage>{{0, 2, 0x4D5A},                      // "ZM"
                             {0x3C, 4, 0xFFFFFFF0},               // PE header beyond the file
                             {pe_header, 4, 0x00004551},          // not "PE\0\0"
                             {pe_header + 6, 2, 0xFFFF},          // 65535 sections
                             {pe_header + 20, 2, 0xFFFF},         // an optional header of 64 KiB
                             {optional_header, 2, 0x0107},        // neither 32- nor 64-bit
                             {section + 20, 4, 0x00100000},       // raw data beyond the file
                             {section + 20, 4, 0xFFFFFE00},       // raw data wrapping round
                             {rva, 4, 0x5000},                    // data past the section
                             {rva, 4, 0x0FFF},                    // data before it
                             {size, 4, 0xFFFFFFFF},               // data past the file
                             {size, 4, 0x1000},                   // past the section's bytes
                             {size, 4, 0},                        // no data at all
                             {root + 16, 4, 3},                   // only icons
                             {root + 24 + 20, 4, 0x80000000},     // names lead back to the root
                             {root + 48 + 20, 4, 0x80000030},     // languages lead to themselves
                             {root + 48 + 20, 4, 0x7FFFFFF0}}) {  // data entry beyond the tree
        EXPECT_EQ(record_in(damaged(built.bytes, damage)), std::nullopt) << damage.offset;
    }
    // Counting more entries than the tree holds ends the search at its end.
    const Bytes icons = damaged(built.bytes, {root + 16, 4, 3});
    EXPECT_EQ(record_in(damaged(icons, {root + 14, 2, 0xFFFF})), std::nullopt);
}

// A version resource whose record's ProductVersion is `tag`.
pe_builder::Resource tagged(std::u16string tag, std::uint16_t language, std::uint16_t id = 1,
                            std::u16string name = {}) {
    auto resource = pe_builder::version_resource(pe_test::record_with({{u"ProductVersion", tag}}));
    resource.language = language;
    resource.id = id;
    resource.name = std::move(name);
    return resource;
}

// The ProductVersion of the record found in a file holding `resources`.
std::string picked(std::vector<pe_builder::Resource> resources) {
    pe_builder::PeFile file;
    file.resources = std::move(resources);
    const Bytes bytes = pe_builder::build_pe(file).bytes;
    const auto record = find_version_record(ByteView(bytes));
    if (!record) {
        return "none";
    }
    const auto value = query_version_value(*record, "\\StringFileInfo\\040904B0\\ProductVersion");
    return value ? std::string(value->begin(), value->end() - 1) : "no value";
}

TEST(PeResourceChoiceTest, LanguageNeutralThenUsEnglishThenTheFirst) {
    EXPECT_EQ(picked({tagged(u"de", 0x0407), tagged(u"us", 0x0409), tagged(u"fr", 0x040C)}), "us");
    EXPECT_EQ(picked({tagged(u"de", 0x0407), tagged(u"neutral", 0x0000), tagged(u"us", 0x0409)}),
              "neutral");
    // Only language 0 is neutral: 0x0400 and 0x0800 stand for the user's and
    // the system's default language.
    EXPECT_EQ(picked({tagged(u"user", 0x0400), tagged(u"us", 0x0409), tagged(u"system", 0x0800)}),
              "us");
    EXPECT_EQ(picked({tagged(u"de", 0x0407), tagged(u"fr", 0x040C)}), "de");
}

TEST(PeResourceChoiceTest, OnlyTheResourceWithIdOneIsTheRecord) {
    EXPECT_EQ(picked({tagged(u"two", 0x0409, 2)}), "none");
    EXPECT_EQ(picked({tagged(u"named", 0x0409, 1, u"VS_VERSION_INFO")}), "none");
    EXPECT_EQ(picked({tagged(u"named", 0x0409, 1, u"#1"), tagged(u"two", 0x0409, 2),
                      tagged(u"one", 0x0409, 1)}),
              "one");
}

}  // namespace
}  // namespace platform::pe
