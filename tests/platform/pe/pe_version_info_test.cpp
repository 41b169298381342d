#include "platform/pe/pe_version_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/pe/pe_test_support.h"

namespace platform::pe {
namespace {

using pe_builder::Bitness;
using pe_builder::Translation;
using pe_builder::VersionRecord;
using pe_test::Bytes;
using pe_test::with_nul;

const std::string product_version = "\\StringFileInfo\\040904B0\\ProductVersion";

// Where the block with `key` starts in `record`.
std::size_t block_of(const Bytes& record, std::u16string_view key) {
    Bytes pattern;
    for (const char16_t unit : key) {
        pattern.push_back(static_cast<std::uint8_t>(unit));
        pattern.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    const auto found = std::search(record.begin(), record.end(), pattern.begin(), pattern.end());
    return static_cast<std::size_t>(found - record.begin()) - 6;
}

class PeVersionInfoTest : public ::testing::Test {
  protected:
    // Queries `path` in the bytes written for `record`.
    std::optional<Bytes> query(const VersionRecord& record, const std::string& path) {
        return info.query_value(pe_builder::write_version_record(record), path);
    }

    pe_test::TempFolder folder;
    PeVersionInfo info;
};

TEST_F(PeVersionInfoTest, ReadsTheRecordOf32And64BitFiles) {
    for (const Bitness bitness : {Bitness::Pe32, Bitness::Pe32Plus}) {
        const auto built =
            pe_test::pe_with(pe_test::record_with({{u"ProductVersion", u"3.1"}}), bitness);
        const std::string path = folder.write("control.ocx", built.bytes);

        ASSERT_EQ(info.record_size(path), built.record_size);
        // The caller's buffer is one byte longer than the record.
        Bytes buffer(built.record_size + 1, 0xAA);
        ASSERT_TRUE(info.read_record(path, buffer));
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.end() - 1,
                               built.bytes.begin() + static_cast<long>(built.record_offset)));
        EXPECT_EQ(buffer.back(), 0xAA);
        EXPECT_EQ(info.query_value(buffer, "\\StringFileInfo\\040904B0\\ProductVersion"),
                  with_nul("3.1"));
        // A shorter one is enlarged.
        buffer.clear();
        ASSERT_TRUE(info.read_record(path, buffer));
        EXPECT_EQ(buffer.size(), built.record_size);
    }
}

TEST_F(PeVersionInfoTest, FilesWithoutARecordOrAbove64MiBHaveNone) {
    pe_builder::PeFile bare;
    std::filesystem::create_directory(folder.path() / "folder.ocx");
    const std::string huge =
        folder.write("huge.ocx", pe_test::pe_with(pe_test::record_with({})).bytes);
    ASSERT_NE(info.record_size(huge), 0u);
    std::filesystem::resize_file(huge, PeVersionInfo::max_file_size + 1);  // sparse, so cheap
    const std::vector<std::string> paths = {
        (folder.path() / "missing.ocx").string(),
        (folder.path() / "folder.ocx").string(),
        folder.write("empty.ocx", {}),
        folder.write("text.ocx", {'M', 'Z', ' ', 'n', 'o', 't', ' ', 'P', 'E'}),
        folder.write("bare.ocx", pe_builder::build_pe(bare).bytes),
        huge,
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(info.record_size(path), 0u);
        Bytes buffer(8, 0);
        EXPECT_FALSE(info.read_record(path, buffer));
    }
}

using VersionQueryTest = PeVersionInfoTest;

TEST_F(VersionQueryTest, TranslationGivesEveryPairInOrder) {
    VersionRecord record;
    EXPECT_EQ(query(record, "\\VarFileInfo\\Translation"), (Bytes{0x09, 0x04, 0xB0, 0x04}));
    record.translations = std::vector<Translation>{{0x0409, 1252}, {0x0407, 1200}, {0x0000, 0}};
    EXPECT_EQ(query(record, "\\VarFileInfo\\Translation"),
              (Bytes{0x09, 0x04, 0xE4, 0x04, 0x07, 0x04, 0xB0, 0x04, 0, 0, 0, 0}));
    record.translations.reset();
    EXPECT_EQ(query(record, "\\VarFileInfo\\Translation"), std::nullopt);
}

TEST_F(VersionQueryTest, TextComesBackByteExactWithItsNul) {
    const std::u16string exactly_128(128, u'8');
    const std::u16string longer(300, u'L');
    const auto record = pe_test::record_with({{u"A", u"2.0"},
                                              {u"B", u"2.0 "},
                                              {u"C", u" "},
                                              {u"D", u""},
                                              {u"E", exactly_128},
                                              {u"F", longer},
                                              {u"G", u"Caf\u00e9 \u20ac \u4e2d\U0001F600"}});
    for (const auto counting :
         {pe_builder::StringLength::WordsWithNul, pe_builder::StringLength::WordsWithoutNul,
          pe_builder::StringLength::Bytes}) {
        auto written = record;
        written.string_length = counting;
        const auto value = [&](const std::string& key) {
            return query(written, "\\StringFileInfo\\040904B0\\" + key);
        };
        EXPECT_EQ(value("A"), with_nul("2.0"));
        EXPECT_EQ(value("B"), with_nul("2.0 "));
        EXPECT_EQ(value("C"), with_nul(" "));
        EXPECT_EQ(value("D"), with_nul(""));
        EXPECT_EQ(value("E"), with_nul(std::string(128, '8')));
        EXPECT_EQ(value("F"), with_nul(std::string(300, 'L')));
        EXPECT_EQ(value("G"), with_nul("Caf\xE9 \x80 ??"));
    }
}

TEST_F(VersionQueryTest, NamesMatchWithoutRegardToCaseOrExtraSeparatorsAndMissingOnesGiveNothing) {
    VersionRecord record = pe_test::record_with({{u"ProductVersion", u"4.5"}});
    record.string_tables.push_back({"040704B0", {{u"ProductVersion", u"4.5 DE"}}});
    EXPECT_EQ(query(record, "\\stringfileinfo\\040904b0\\PRODUCTVERSION"), with_nul("4.5"));
    EXPECT_EQ(query(record, "StringFileInfo\\\\040704B0\\ProductVersion\\"), with_nul("4.5 DE"));
    EXPECT_EQ(query(record, "\\varfileinfo\\TRANSLATION"), (Bytes{0x09, 0x04, 0xB0, 0x04}));
    EXPECT_EQ(query(record, "\\StringFileInfo\\040904B0\\CompanyName"), std::nullopt);
    EXPECT_EQ(query(record, "\\StringFileInfo\\040904E4\\ProductVersion"), std::nullopt);
    EXPECT_EQ(query(record, product_version + "\\Deeper"), std::nullopt);
    EXPECT_EQ(query(record, "\\StringFileInfo\\040904B0\\ProductVersio"), std::nullopt);
    EXPECT_EQ(info.query_value({}, product_version), std::nullopt);
}

TEST_F(VersionQueryTest, LengthsAreNeverTrustedBeyondTheirBlock) {
    const Bytes good = pe_builder::write_version_record(
        pe_test::record_with({{u"Comments", u"x"}, {u"ProductVersion", u"7.0"}}));
    const std::size_t comments = block_of(good, u"Comments");
    const std::size_t version = block_of(good, u"ProductVersion");

    Bytes record = good;
    pe_test::put_u16(record, 0, 0xFFFF);            // the record claims more than it has
    pe_test::put_u16(record, version + 2, 0xFFFF);  // the value claims the rest of it
    EXPECT_EQ(info.query_value(record, product_version), with_nul("7.0"));

    record = good;
    pe_test::put_u16(record, comments, 0);  // would make the walk stand still
    EXPECT_EQ(info.query_value(record, product_version), std::nullopt);

    // Cut inside the value: the text ends with the record, without a NUL.
    record.assign(good.begin(), good.begin() + static_cast<long>(version + 6 + 30 + 4));
    EXPECT_EQ(info.query_value(record, product_version), with_nul("7."));
    // Cut inside the key.
    record.assign(good.begin(), good.begin() + static_cast<long>(version + 6 + 10));
    EXPECT_EQ(info.query_value(record, product_version), std::nullopt);
}

}  // namespace
}  // namespace platform::pe
