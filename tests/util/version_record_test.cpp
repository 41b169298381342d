#include "util/version_record.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakes/fake_version_info.h"

namespace {

constexpr const char* us_unicode = "040904B0";

class VersionRecordTest : public ::testing::Test {
  protected:
    VersionRecordTest() {
        info.set_translations({0x09, 0x04, 0xB0, 0x04});
        const char* keys[] = {"CompanyName",    "FileDescription",  "FileVersion", "InternalName",
                              "LegalCopyright", "OriginalFileName", "ProductName"};
        for (const char* key : keys) {
            info.set_string(us_unicode, key, std::string("new ") + key);
        }
        info.set_string(us_unicode, "ProductVersion", "2.20");
    }

    fakes::FakeVersionInfo info;
    util::VersionRecordReader reader{info};
};

TEST_F(VersionRecordTest, ReadsEveryFieldFromTheFirstTranslationsTable) {
    // A second translation is listed but never used.
    info.set_translations({0x09, 0x04, 0xB0, 0x04, 0x07, 0x04, 0xE4, 0x04});
    EXPECT_TRUE(reader.ReadVersionRecord("NAVCTRL.OCX"));
    EXPECT_EQ(reader.TranslationKey(), us_unicode);
    const auto& r = reader.record();
    EXPECT_EQ(r.CompanyName, "new CompanyName");
    EXPECT_EQ(r.FileDescription, "new FileDescription");
    EXPECT_EQ(r.FileVersion, "new FileVersion");
    EXPECT_EQ(r.InternalName, "new InternalName");
    EXPECT_EQ(r.LegalCopyright, "new LegalCopyright");
    EXPECT_EQ(r.OriginalFileName, "new OriginalFileName");
    EXPECT_EQ(r.ProductName, "new ProductName");
    EXPECT_EQ(r.ProductVersion, "2.20");
}

TEST_F(VersionRecordTest, SuccessDependsOnTheProductVersionAloneAndLoadingIgnoresIt) {
    info.set_string(us_unicode, "ProductVersion", "   ");
    EXPECT_FALSE(reader.ReadVersionRecord("f"));
    EXPECT_EQ(reader.record().ProductVersion, "   ");
    EXPECT_EQ(reader.record().FileVersion, "new FileVersion");  // written all the same

    info.set_string(us_unicode, "ProductVersion", "2.0 ");
    EXPECT_TRUE(reader.ReadVersionRecord("f"));
    EXPECT_EQ(reader.record().ProductVersion, "2.0 ");  // not trimmed

    info.values.erase(std::string("\\StringFileInfo\\") + us_unicode + "\\ProductVersion");
    EXPECT_FALSE(reader.ReadVersionRecord("f"));
    EXPECT_EQ(reader.record().ProductVersion, "");  // a missing key empties its field

    info.size_fault.always();
    EXPECT_NO_THROW(reader.LoadVersionRecord("missing"));
    EXPECT_EQ(reader.record().ProductVersion, "");
    info.size_fault.never();
    info.set_string(us_unicode, "ProductVersion", "2.20");
    reader.LoadVersionRecord("present");
    EXPECT_EQ(reader.record().ProductVersion, "2.20");
}

TEST_F(VersionRecordTest, UnreadableRecordLeavesTheFieldsAsTheyWere) {
    ASSERT_TRUE(reader.ReadVersionRecord("f"));
    info.set_string(us_unicode, "ProductVersion", "9.9");
    // Each fault on its own, then taken back.
    const std::pair<std::function<void()>, std::function<void()>> faults[] = {
        {[&] { info.size = 0; }, [&] { info.size = 16; }},
        {[&] { info.size_fault.always(); }, [&] { info.size_fault.never(); }},
        {[&] { info.record_readable = false; }, [&] { info.record_readable = true; }},
        {[&] { info.read_fault.always(); }, [&] { info.read_fault.never(); }},
        // Too short to hold an entry, then none at all.
        {[&] {
             info.set_translations({0x09, 0x04});
         },
         [] {}},
        {[&] { info.values.erase("\\VarFileInfo\\Translation"); }, [] {}},
    };
    for (std::size_t i = 0; i < std::size(faults); ++i) {
        faults[i].first();
        EXPECT_FALSE(reader.ReadVersionRecord("f")) << "fault " << i;
        faults[i].second();
        EXPECT_EQ(reader.record().ProductVersion, "2.20") << "fault " << i;
        EXPECT_EQ(reader.record().CompanyName, "new CompanyName") << "fault " << i;
    }
}

TEST_F(VersionRecordTest, FailingValueSkipsOnlyItsField) {
    ASSERT_TRUE(reader.ReadVersionRecord("f"));
    info.set_string(us_unicode, "CompanyName", "changed");
    info.set_string(us_unicode, "FileDescription", "changed");
    info.set_string(us_unicode, "FileVersion", std::string(127, '7'));
    // Too long for the 128-byte buffer it passes through: refused, never cut.
    info.set_string(us_unicode, "ProductName", std::string(128, 'x'));
    // Query 1 is the translation table, query 2 the company name.
    info.query_fault.just(1);
    EXPECT_TRUE(reader.ReadVersionRecord("f"));
    EXPECT_EQ(reader.record().CompanyName, "new CompanyName");
    EXPECT_EQ(reader.record().FileDescription, "changed");
    EXPECT_EQ(reader.record().FileVersion, std::string(127, '7'));
    EXPECT_EQ(reader.record().ProductName, "new ProductName");
}

}  // namespace
