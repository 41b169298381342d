// The version record reader on real files, read by our own PE parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pe/pe_builder.h"
#include "platform/pe/pe_version_info.h"
#include "support/temp_folder.h"
#include "util/version_record.h"

namespace {

TEST(VersionRecordFileTest, OurControlPassesAndAnotherFileIsReadFromItsFirstTranslation) {
    test_support::TempFolder folder;
    platform::pe::PeVersionInfo info;
    util::VersionRecordReader reader{info};
    const auto write = [&](const std::string& name, const pe_builder::PeFile& file) {
        pe_builder::write_file(folder / name, pe_builder::build_pe(file).bytes);
        return folder / name;
    };

    pe_builder::PeFile navctrl;
    navctrl.resources = {pe_builder::version_resource(pe_builder::navctrl_record())};
    reader.LoadVersionRecord(write("NAVCTRL.OCX", navctrl));
    EXPECT_EQ(reader.record().ProductVersion, "2.20");
    EXPECT_EQ(reader.record().OriginalFileName, "NAVCTRL.OCX");

    pe_builder::VersionRecord two_tables;
    two_tables.translations = std::vector<pe_builder::Translation>{{0x0407, 1252}, {0x0409, 1200}};
    two_tables.string_tables = {{"040904B0", {{u"ProductVersion", u"english"}}},
                                {"040704E4",
                                 {{u"ProductVersion", u"deutsch \u00E4"},
                                  {u"FileVersion", std::u16string(127, u'7')},
                                  // Too long for the buffer it passes through: refused, never cut.
                                  {u"FileDescription", std::u16string(128, u'x')}}}};
    pe_builder::PeFile other;
    other.resources = {pe_builder::version_resource(two_tables)};
    EXPECT_TRUE(reader.ReadVersionRecord(write("two.ocx", other)));
    EXPECT_EQ(reader.TranslationKey(), "040704E4");
    EXPECT_EQ(reader.record().ProductVersion, "deutsch \u00E4");
    EXPECT_EQ(reader.record().FileVersion, std::string(127, '7'));
    EXPECT_EQ(reader.record().FileDescription, "Orvanta simulated navigator control");

    // A PE file without a version resource leaves the fields alone.
    EXPECT_FALSE(reader.ReadVersionRecord(write("bare.ocx", pe_builder::PeFile{})));
    EXPECT_EQ(reader.record().ProductVersion, "deutsch \u00E4");
}

}  // namespace
