#include "util/file_utilities.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "fakes/fake_services.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_folder.h"

namespace {

TEST(FileUtilitiesTest, OnlyVisibleRegularFilesExist) {
    test_support::TempFolder folder;
    platform::posix::PosixFileSystem files;
    fakes::FakeProgramLocation location;
    const util::FileUtilities utilities(files, location);

    test_support::write_file(folder / "NAVCTRL.OCX", "x");
    ::chmod((folder / "NAVCTRL.OCX").c_str(), 0444);  // read-only files count
    test_support::write_file(folder / ".hidden", "x");
    std::filesystem::create_directory(folder / "folder");
    std::filesystem::create_symlink(folder / "NAVCTRL.OCX", folder / "link.ocx");
    std::filesystem::create_symlink(folder / "nowhere", folder / "dangling.ocx");

    EXPECT_TRUE(utilities.FileExists(folder / "NAVCTRL.OCX"));
    EXPECT_TRUE(utilities.FileExists(folder / "link.ocx"));
    EXPECT_FALSE(utilities.FileExists(folder / ".hidden"));
    EXPECT_FALSE(utilities.FileExists(folder / "folder"));
    EXPECT_FALSE(utilities.FileExists(folder / "dangling.ocx"));
    EXPECT_FALSE(utilities.FileExists(folder / "missing"));
    EXPECT_FALSE(utilities.FileExists(folder / "NAVCTRL.OCX/inside"));
    EXPECT_FALSE(utilities.FileExists(""));
    EXPECT_FALSE(utilities.FileExists(folder / "folder/"));
}

TEST(FileUtilitiesTest, SystemPathHasNoTrailingSlashAndJoinsWithOneSeparatorAlsoAtTheRoot) {
    platform::posix::PosixFileSystem files;
    fakes::FakeProgramLocation location;
    const util::FileUtilities utilities(files, location);
    EXPECT_EQ(utilities.GetSystemPath(), "/opt/orvanta");
    location.folder = "/opt/orvanta/";
    EXPECT_EQ(utilities.GetSystemPath(), "/opt/orvanta");
    // Moved in whole: GCC 12 at -O3 takes copying "/" over the longer text
    // for overlapping copies (-Wrestrict).
    location.folder = std::string("/");
    EXPECT_EQ(utilities.GetSystemPath(), "/");
    location.fault.always();
    EXPECT_EQ(utilities.GetSystemPath(), "");

    EXPECT_EQ(util::join_path("/opt/orvanta", "Orvanta.ini"), "/opt/orvanta/Orvanta.ini");
    EXPECT_EQ(util::join_path("/", "Orvanta.ini"), "/Orvanta.ini");
}

}  // namespace
