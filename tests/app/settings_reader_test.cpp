// Orvanta.ini read, and written so that it reads back.
#include "app/settings_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_file.h"
#include "app/settings_writer.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_services.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_folder.h"

namespace {

using app::Settings;
using app::SettingsReadOutcome;
using Outcome = SettingsReadOutcome;

const std::string kPath = "/opt/orvanta/Orvanta.ini";

// Distinct in every field from what the files below hold, so a value that was
// left alone is told apart from one that was read.
constexpr Settings kBefore{1, 2, 3, 4, false, true, false, true, 5};
constexpr Settings kInFile{2509, 2510, -120, 300, true, false, true, false, 250};

// kBefore with the first n (at most four) values read from the file.
Settings first(int n) {
    Settings settings = kBefore;
    for (auto value : {&Settings::LISTEN_PORT, &Settings::TRANSMIT_PORT, &Settings::WINDOW_LEFT,
                       &Settings::WINDOW_TOP}) {
        if (n-- > 0) {
            settings.*value = kInFile.*value;
        }
    }
    return settings;
}

std::string join(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TEST(SettingsReaderTest, ReadsTheNineValuesAndKeepsThoseBeforeOneThatIsMissingOrBad) {
    const std::string file = app::format_settings(kInFile, "12/6/26");
    std::string cr_only = file;
    std::erase(cr_only, '\n');
    // With LF alone the whole file is one comment line: it ends before a value.
    std::string lf_only = file;
    std::erase(lf_only, '\r');
    struct Case {
        std::string text;
        Outcome outcome;
        Settings read;
    };
    const Case cases[] = {
        {join({"2509", "2510", "-120", "300", "True", "False", "True", "False", "250"}),
         Outcome::Loaded, kInFile},
        // Comment lines before a value may be missing or extra.
        {join({"'", "' anything at all: 77", "''", "'\n7\n", "2509", "2510", "'a", "'b", "'c",
               "-120", "300", "'", "True", "False", "True", "False", "'", "250"}),
         Outcome::Loaded, kInFile},
        // Nothing after the ninth value is read, nor need it end the line.
        {file + "not a value\r\n\r\n", Outcome::Loaded, kInFile},
        {join({"2509", "2510", "-120", "300", "True", "False", "True", "False"}) + "250",
         Outcome::Loaded, kInFile},
        {cr_only, Outcome::Loaded, kInFile},
        {lf_only, Outcome::ReadFailure, first(0)},
        // Values as hand edits write them; a flag is true for any number but zero.
        {join({"2509.5", "2510.5", " -120 ", "+300", "true", "0", "0.4", "40000", "250.0"}),
         Outcome::Loaded, Settings{2510, 2510, -120, 300, true, false, true, true, 250}},
        // An empty line is a value, and not a number.
        {join({"2509", "2510", "'", "", "-120"}), Outcome::ReadFailure, first(2)},
        // Only an apostrophe in first place marks a comment.
        {join({" ' indented", "2509"}), Outcome::ReadFailure, first(0)},
        {join({"2509", "40000", "-120", "300", "True", "False", "True", "False", "250"}),
         Outcome::ReadFailure, first(1)},
        {join({"2509", "2510", "-120", "300", "yes", "False", "True", "False", "250"}),
         Outcome::ReadFailure, first(4)},
        // Cut short after the third value and the comment after it.
        {file.substr(0, file.find("-120\r\n'\r\n") + 9), Outcome::ReadFailure, first(3)},
        {"", Outcome::ReadFailure, first(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fakes::FakeFileSystem files;
        files.put(kPath, c.text);
        fakes::FakeProgramLocation location;
        Settings settings = kBefore;
        EXPECT_EQ(app::SettingsReader(files, location).read(settings), c.outcome);
        EXPECT_EQ(settings, c.read);
    }
}

TEST(SettingsReaderTest, NoFileOrSomethingElseIsMissingAndAFailingReadIsAReadFailure) {
    fakes::FakeFileSystem files;
    fakes::FakeProgramLocation location;
    app::SettingsReader reader{files, location};
    Settings settings = kBefore;
    EXPECT_EQ(reader.read(settings), Outcome::Missing);

    files.entries[kPath] = fakes::FakeEntry{join({"2509"}), false};
    EXPECT_EQ(reader.read(settings), Outcome::Missing);
    EXPECT_EQ(files.read_fault.calls(), 0);

    // A failing look is no file either.
    files.entries[kPath] = fakes::FakeEntry{app::format_settings(kInFile, "12/6/26")};
    files.regular_fault.just(0);
    EXPECT_EQ(reader.read(settings), Outcome::Missing);

    files.read_fault.always();
    EXPECT_EQ(reader.read(settings), Outcome::ReadFailure);
    EXPECT_EQ(settings, kBefore);
}

const std::string kOldFile = "' the user's file\r\n1\r\n2\r\n3\r\n4\r\n1\r\n0\r\n1\r\n0\r\n5\r\n";

class SettingsWriterTest : public ::testing::Test {
  protected:
    // What a failed write must have left: the old file, and nothing else.
    void expect_old_file_alone() {
        EXPECT_EQ(files.paths(), std::vector<std::string>{kPath});
        EXPECT_EQ(files.entries[kPath].bytes, kOldFile);
    }

    fakes::FakeFileSystem files;
    fakes::FakeProgramLocation location;
    fakes::FakeClock clock;
    app::SettingsWriter writer{files, location, clock};
    app::SettingsReader reader{files, location};
};

TEST_F(SettingsWriterTest, WritesFortyNineLinesWithTheValuesOnTheirFixedLines) {
    clock.date = "12.06.26 \u00E9\u20AC";
    location.settings = "/home/ann/.config/orvanta";
    ASSERT_TRUE(writer.write(kInFile));
    EXPECT_EQ(files.writable_fault.calls(), 0) << "a first file needs no check";
    // The folder is made for the first save, the user's alone.
    EXPECT_EQ(files.made_folders,
              (std::vector<std::pair<std::string, unsigned>>{{"/home/ann/.config/orvanta", 0700}}));
    location.settings.clear();
    ASSERT_TRUE(writer.write(kInFile));
    const std::string& text = files.entries[kPath].bytes;
    std::vector<std::string> lines;
    for (std::size_t at = 0, end = 0; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
        lines.push_back(text.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), 49U);
    const std::map<int, std::string> values = {
        {14, "2509"},  {17, "2510"}, {21, "-120"},  {24, "300"}, {28, "True"},
        {32, "False"}, {36, "True"}, {40, "False"}, {44, "250"}, {49, "'12.06.26 \xE9\x80"}};
    for (int number = 1; number <= 49; ++number) {
        const std::string& line = lines[static_cast<std::size_t>(number - 1)];
        if (const auto value = values.find(number); value != values.end()) {
            EXPECT_EQ(line, value->second) << "line " << number;
        } else {
            EXPECT_TRUE(line.starts_with("'")) << "line " << number << ": " << line;
        }
    }
}

TEST_F(SettingsWriterTest, AReadOnlyFileAFailingStepOrAFullDiskLeaveTheOldFileAlone) {
    files.put(kPath, kOldFile);
    files.entries[kPath].writable = false;
    EXPECT_FALSE(writer.write(kInFile));
    EXPECT_EQ(files.create_fault.calls(), 0);
    expect_old_file_alone();

    files.entries[kPath].writable = true;
    files.writable_fault.always();
    EXPECT_FALSE(writer.write(kInFile));
    expect_old_file_alone();
    files.writable_fault.never();

    for (fakes::Fault* fault : {&files.folder_fault, &files.create_fault, &files.write_fault,
                                &files.commit_fault, &files.replace_fault}) {
        files.put(kPath, kOldFile);
        fault->always();
        EXPECT_FALSE(writer.write(kInFile));
        expect_old_file_alone();
        fault->never();
    }
    // Each temporary file that was made went again.
    EXPECT_EQ(files.removed.size(), 3u);

    for (const std::size_t room : {std::size_t{0}, std::size_t{1}, std::size_t{700}}) {
        files.free_bytes = room;
        EXPECT_FALSE(writer.write(kInFile)) << room;
        expect_old_file_alone();
    }
    files.free_bytes.reset();
    EXPECT_TRUE(writer.write(kInFile));
}

// On a real disk, where root may write what the permissions forbid.
TEST(SettingsWriterOnDiskTest, ReplacesAWritableFileAndLeavesAReadOnlyOneByteForByte) {
    test_support::TempFolder folder;
    const auto path = folder.path() / "Orvanta.ini";
    test_support::write_file(path, kOldFile);
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    platform::posix::PosixFileSystem files;
    fakes::FakeProgramLocation location;
    location.folder = folder.path().string();
    fakes::FakeClock clock;
    app::SettingsWriter writer(files, location, clock);

    ASSERT_TRUE(writer.write(kInFile));
    Settings read;
    EXPECT_EQ(app::SettingsReader(files, location).read(read), SettingsReadOutcome::Loaded);
    EXPECT_EQ(read, kInFile);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));

    const std::string written = test_support::read_file(path);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    EXPECT_FALSE(writer.write(Settings{}));
    EXPECT_EQ(test_support::read_file(path), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
