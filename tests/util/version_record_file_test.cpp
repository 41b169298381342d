// The version record reader on real files, read by our own PE parser.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pe/pe_builder.h"
#include "platform/pe/pe_version_info.h"
#include "support/temp_folder.h"
#include "util/version_record.h"

namespace {

using pe_builder::StringEntry;

class VersionRecordFileTest : public ::testing::Test {
  protected:
    // Writes a PE file whose first table holds the product version and a
    // description, and gives its path.
    std::string write_pe(const std::string& name, const std::u16string& product_version,
                         pe_builder::Bitness bitness = pe_builder::Bitness::Pe32) {
        pe_builder::VersionRecord record;
        record.string_tables = {{"040904B0",
                                 {{u"FileDescription", u"Navigator"},
                                  {u"FileVersion", u"2.20.0.1"},
                                  {u"ProductVersion", product_version}}}};
        return write(name, record, bitness);
    }

    std::string write(const std::string& name, const pe_builder::VersionRecord& record,
                      pe_builder::Bitness bitness = pe_builder::Bitness::Pe32) {
        pe_builder::PeFile file;
        file.bitness = bitness;
        file.version = record;
        const std::string path = folder / name;
        pe_builder::write_file(path, pe_builder::build_pe(file).bytes);
        return path;
    }

    test_support::TempFolder folder;
    platform::pe::PeVersionInfo info;
    util::VersionRecordReader reader{info};
};

TEST_F(VersionRecordFileTest, ProductVersionDecidesAndIsKeptExactly) {
    EXPECT_TRUE(reader.ReadVersionRecord(write_pe("a.ocx", u"2.0")));
    EXPECT_EQ(reader.record().ProductVersion, "2.0");
    EXPECT_EQ(reader.record().FileDescription, "Navigator");
    EXPECT_EQ(reader.record().CompanyName, "");  // not in the table

    EXPECT_TRUE(reader.ReadVersionRecord(write_pe("b.ocx", u"2.0 ")));
    EXPECT_EQ(reader.record().ProductVersion, "2.0 ");

    EXPECT_FALSE(reader.ReadVersionRecord(write_pe("c.ocx", u" ")));
    EXPECT_EQ(reader.record().ProductVersion, " ");
    EXPECT_EQ(reader.record().FileVersion, "2.20.0.1");
}

TEST_F(VersionRecordFileTest, ThirtyTwoAndSixtyFourBitFilesReadAlike) {
    EXPECT_TRUE(reader.ReadVersionRecord(write_pe("32.ocx", u"2.20", pe_builder::Bitness::Pe32)));
    EXPECT_EQ(reader.record().ProductVersion, "2.20");
    EXPECT_TRUE(
        reader.ReadVersionRecord(write_pe("64.ocx", u"3.1", pe_builder::Bitness::Pe32Plus)));
    EXPECT_EQ(reader.record().ProductVersion, "3.1");
}

TEST_F(VersionRecordFileTest, FirstOfSeveralTranslationsChoosesTheTable) {
    pe_builder::VersionRecord record;
    record.translations = std::vector<pe_builder::Translation>{{0x0407, 1252}, {0x0409, 1200}};
    record.string_tables = {{"040904B0", {{u"ProductVersion", u"english"}}},
                            {"040704E4", {{u"ProductVersion", u"deutsch \u00E4"}}}};
    EXPECT_TRUE(reader.ReadVersionRecord(write("two.ocx", record)));
    EXPECT_EQ(reader.TranslationKey(), "040704E4");
    EXPECT_EQ(reader.record().ProductVersion, "deutsch \u00E4");
}

TEST_F(VersionRecordFileTest, ValuesOfAHundredAndTwentyEightBytesOrMoreAreRefused) {
    ASSERT_TRUE(reader.ReadVersionRecord(write_pe("first.ocx", u"1.0")));
    pe_builder::VersionRecord record;
    record.string_tables = {{"040904B0",
                             {{u"ProductVersion", u"2.0"},
                              {u"FileVersion", std::u16string(127, u'7')},
                              {u"FileDescription", std::u16string(128, u'x')},
                              {u"LegalCopyright", std::u16string(1000, u'c')}}}};
    EXPECT_TRUE(reader.ReadVersionRecord(write("long.ocx", record)));
    EXPECT_EQ(reader.record().FileVersion, std::string(127, '7'));
    EXPECT_EQ(reader.record().FileDescription, "Navigator");  // kept from the first file
    EXPECT_EQ(reader.record().LegalCopyright, "");            // was empty, stays empty
}

TEST_F(VersionRecordFileTest, FilesWithoutARecordLeaveTheFieldsAlone) {
    ASSERT_TRUE(reader.ReadVersionRecord(write_pe("good.ocx", u"2.20")));

    pe_builder::PeFile bare;  // a PE file without a version resource
    const std::string no_record = folder / "bare.ocx";
    pe_builder::write_file(no_record, pe_builder::build_pe(bare).bytes);
    EXPECT_FALSE(reader.ReadVersionRecord(no_record));

    const std::string text = folder / "text.ocx";
    test_support::write_file(text, "MZ but not really a program");
    EXPECT_FALSE(reader.ReadVersionRecord(text));

    std::filesystem::create_directory(folder / "NAVCTRL.OCX");
    EXPECT_FALSE(reader.ReadVersionRecord(folder / "NAVCTRL.OCX"));
    EXPECT_FALSE(reader.ReadVersionRecord(folder / "missing.ocx"));

    auto bytes = pe_builder::build_pe([] {
                     pe_builder::PeFile file;
                     file.version = pe_builder::navctrl_record();
                     return file;
                 }())
                     .bytes;
    for (std::size_t cut = 0; cut < bytes.size(); cut += 61) {
        const std::string path = folder / ("cut" + std::to_string(cut));
        pe_builder::write_file(path, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + cut));
        EXPECT_FALSE(reader.ReadVersionRecord(path)) << "cut at " << cut;
    }
    EXPECT_EQ(reader.record().ProductVersion, "2.20");
    EXPECT_EQ(reader.record().FileDescription, "Navigator");
}

TEST_F(VersionRecordFileTest, OurNavigatorControlPassesTheVersionCheck) {
    pe_builder::PeFile file;
    file.version = pe_builder::navctrl_record();
    const std::string path = folder / "NAVCTRL.OCX";
    pe_builder::write_file(path, pe_builder::build_pe(file).bytes);
    reader.LoadVersionRecord(path);
    EXPECT_EQ(reader.record().ProductVersion, "2.20");
    EXPECT_EQ(reader.record().OriginalFileName, "NAVCTRL.OCX");
    EXPECT_EQ(reader.record().FileDescription, "Orvanta simulated navigator control");
}

}  // namespace
