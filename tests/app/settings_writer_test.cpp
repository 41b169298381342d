#include "app/settings_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/settings_reader.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_folder.h"

namespace {

using app::Settings;
using app::SettingsReadOutcome;

class FixedLocation : public platform::ProgramLocation {
  public:
    explicit FixedLocation(std::string folder) : folder_(std::move(folder)) {}
    std::string program_folder() const override { return folder_; }

  private:
    std::string folder_;
};

const std::string kFolder = "/opt/orvanta";
const std::string kPath = "/opt/orvanta/Orvanta.ini";
const std::string kOldFile = "' the user's file\r\n1\r\n2\r\n3\r\n4\r\n1\r\n0\r\n1\r\n0\r\n5\r\n";

constexpr Settings kSample{2509, 2510, -120, 300, true, false, true, false, 250};

// Orvanta.ini for kSample, written on 12/6/26.
constexpr std::string_view kSampleFile =
    "'\r\n"
    "'         Orvanta INI Settings File\r\n"
    "'         ----------------------------------\r\n"
    "'                   Written by Orvanta; edit it in the settings panel.\r\n"
    "'\r\n"
    "'\r\n"
    "' This file contains settings for Orvanta...\r\n"
    "' you should not need to edit it manually!\r\n"
    "'\r\n"
    "'\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the Remote Receive port:\r\n"
    "2509\r\n"
    "'\r\n"
    "' The following line contains the Remote Transmit port:\r\n"
    "2510\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the Window Left Position:\r\n"
    "-120\r\n"
    "'\r\n"
    "' The following line contains the Window Top Position:\r\n"
    "300\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the Save Window Position on Exit option:\r\n"
    "True\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the Always Keep Connected option:\r\n"
    "False\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the Startup in Mini-Mode option:\r\n"
    "True\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the Startup in System Tray option:\r\n"
    "False\r\n"
    "'\r\n"
    "'\r\n"
    "' The following line contains the DPC hardware status poll interval:\r\n"
    "250\r\n"
    "'\r\n"
    "'\r\n"
    "'\r\n"
    "' Date INI last modified:\r\n"
    "'12/6/26\r\n";

class SettingsWriterTest : public ::testing::Test {
  protected:
    // What the failed write must have left: the old file, and nothing else.
    void expect_old_file_alone() {
        EXPECT_EQ(files.paths(), std::vector<std::string>{kPath});
        EXPECT_EQ(files.entries[kPath].bytes, kOldFile);
    }

    fakes::FakeFileSystem files;
    FixedLocation location{kFolder};
    fakes::FakeClock clock;
    app::SettingsWriter writer{files, location, clock};
    app::SettingsReader reader{files, location};
};

TEST_F(SettingsWriterTest, WritesTheFortyNineLinesByteForByte) {
    ASSERT_TRUE(writer.write(kSample));
    EXPECT_EQ(files.entries[kPath].bytes, kSampleFile);
    EXPECT_EQ(files.paths(), std::vector<std::string>{kPath});
}

TEST_F(SettingsWriterTest, WritesTheDateInWindows1252) {
    clock.date = "12.06.26 \u00E9\u20AC";
    ASSERT_TRUE(writer.write(kSample));
    EXPECT_TRUE(files.entries[kPath].bytes.ends_with("\r\n'12.06.26 \xE9\x80\r\n"));
}

TEST_F(SettingsWriterTest, WrittenValuesReadBackUnchanged) {
    const Settings samples[] = {
        {},
        {-32768, 32767, -32768, 32767, true, true, true, true, -32768},
        {32767, -32768, -1, 1, false, true, false, true, 32767},
        {0, 1, -2, 3, true, false, false, true, 0},
    };
    files.put(kPath, kOldFile);
    for (const Settings& sample : samples) {
        ASSERT_TRUE(writer.write(sample));
        Settings read{7, 7, 7, 7, false, false, false, false, 7};
        read.KEEP_CONNECTED = !sample.KEEP_CONNECTED;
        EXPECT_EQ(reader.read(read), SettingsReadOutcome::Loaded);
        EXPECT_EQ(read, sample);
    }
}

TEST_F(SettingsWriterTest, AReadOnlyFileIsRefusedBeforeAnythingIsWritten) {
    files.put(kPath, kOldFile);
    files.entries[kPath].writable = false;
    EXPECT_FALSE(writer.write(kSample));
    EXPECT_EQ(files.create_fault.calls(), 0);
    expect_old_file_alone();

    files.entries[kPath].writable = true;
    files.writable_fault.always();
    EXPECT_FALSE(writer.write(kSample));
    expect_old_file_alone();
}

TEST_F(SettingsWriterTest, AFirstFileNeedsNoWritableCheck) {
    ASSERT_TRUE(writer.write(kSample));
    EXPECT_EQ(files.writable_fault.calls(), 0);
    EXPECT_EQ(files.entries[kPath].bytes, kSampleFile);
}

TEST_F(SettingsWriterTest, ADiskFillingUpHalfWayLeavesTheOldFile) {
    for (const std::size_t room :
         {std::size_t{0}, std::size_t{1}, std::size_t{700}, kSampleFile.size() - 1}) {
        files.put(kPath, kOldFile);
        files.free_bytes = room;
        EXPECT_FALSE(writer.write(kSample)) << room;
        expect_old_file_alone();
    }
    files.free_bytes = kSampleFile.size();
    EXPECT_TRUE(writer.write(kSample));
}

TEST_F(SettingsWriterTest, AFailingStepLeavesTheOldFileAndNoTemporaryFile) {
    for (fakes::Fault* fault :
         {&files.create_fault, &files.write_fault, &files.commit_fault, &files.replace_fault}) {
        files.put(kPath, kOldFile);
        fault->always();
        EXPECT_FALSE(writer.write(kSample));
        expect_old_file_alone();
        fault->never();
    }
    // Each temporary file that was made went again.
    EXPECT_EQ(files.removed.size(), 3u);
    ASSERT_TRUE(writer.write(kSample));
    EXPECT_EQ(files.entries[kPath].bytes, kSampleFile);
}

// The same on a real disk, where root may write what the permissions forbid.
TEST(SettingsWriterOnDiskTest, AReadOnlyFileStaysByteForByteEvenForRoot) {
    test_support::TempFolder folder;
    const auto path = folder.path() / "Orvanta.ini";
    test_support::write_file(path, kOldFile);
    std::filesystem::permissions(path, std::filesystem::perms(0444));

    platform::posix::PosixFileSystem files;
    FixedLocation location(folder.path().string());
    fakes::FakeClock clock;
    EXPECT_FALSE(app::SettingsWriter(files, location, clock).write(kSample));

    EXPECT_EQ(test_support::read_file(path), kOldFile);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0444));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SettingsWriterOnDiskTest, AFolderThatCannotHoldFilesFails) {
    test_support::TempFolder folder;
    test_support::write_file(folder.path() / "plain", "not a folder");
    platform::posix::PosixFileSystem files;
    fakes::FakeClock clock;
    for (const auto& place :
         {folder.path() / "absent", folder.path() / "plain", folder.path() / "plain" / "below"}) {
        FixedLocation location(place.string());
        EXPECT_FALSE(app::SettingsWriter(files, location, clock).write(kSample)) << place;
    }
    EXPECT_EQ(test_support::read_file(folder.path() / "plain"), "not a folder");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SettingsWriterOnDiskTest, ReplacesTheFileKeepingItsPermissions) {
    test_support::TempFolder folder;
    const auto path = folder.path() / "Orvanta.ini";
    test_support::write_file(path, kOldFile);
    std::filesystem::permissions(path, std::filesystem::perms(0640));

    platform::posix::PosixFileSystem files;
    FixedLocation location(folder.path().string());
    fakes::FakeClock clock;
    ASSERT_TRUE(app::SettingsWriter(files, location, clock).write(kSample));

    EXPECT_EQ(test_support::read_file(path), kSampleFile);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    Settings read;
    EXPECT_EQ(app::SettingsReader(files, location).read(read), SettingsReadOutcome::Loaded);
    EXPECT_EQ(read, kSample);
}

}  // namespace
