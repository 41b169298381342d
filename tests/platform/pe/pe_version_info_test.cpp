#include "platform/pe/pe_version_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/pe/pe_test_support.h"

namespace platform::pe {
namespace {

using pe_builder::Bitness;
using pe_test::Bytes;
using pe_test::with_nul;

class PeVersionInfoTest : public ::testing::Test {
  protected:
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
    pe_builder::PeFile other_type;
    other_type.resources = {
        pe_builder::version_resource(pe_test::record_with({{u"ProductVersion", u"1.0"}}))};
    other_type.resources[0].type = 24;  // a manifest
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
        folder.write("manifest.ocx", pe_builder::build_pe(other_type).bytes),
        huge,
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(info.record_size(path), 0u);
        Bytes buffer(8, 0);
        EXPECT_FALSE(info.read_record(path, buffer));
    }
}

}  // namespace
}  // namespace platform::pe
