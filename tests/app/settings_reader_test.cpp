#include "app/settings_reader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "fakes/fake_file_system.h"

namespace {

using app::Settings;
using app::SettingsReadOutcome;

class FixedLocation : public platform::ProgramLocation {
  public:
    std::string program_folder() const override { return "/opt/orvanta"; }
};

const std::string kPath = "/opt/orvanta/Orvanta.ini";

// Distinct in every field from what the files below hold, so a value that was
// left alone is told apart from one that was read.
constexpr Settings kBefore{1, 2, 3, 4, false, true, false, true, 5};
constexpr Settings kInFile{2509, 2510, -120, 300, true, false, true, false, 250};

std::string join(std::initializer_list<std::string_view> lines, std::string_view ending = "\r\n") {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += ending;
    }
    return text;
}

class SettingsReaderTest : public ::testing::Test {
  protected:
    SettingsReadOutcome read(std::string_view bytes) {
        files.put(kPath, bytes);
        return reader.read(settings);
    }

    fakes::FakeFileSystem files;
    FixedLocation location;
    app::SettingsReader reader{files, location};
    Settings settings = kBefore;
};

TEST_F(SettingsReaderTest, CommentLinesBeforeAValueMayBeMissingOrExtra) {
    EXPECT_EQ(read(join({"2509", "2510", "-120", "300", "True", "False", "True", "False", "250"})),
              SettingsReadOutcome::Loaded);
    EXPECT_EQ(settings, kInFile);

    settings = kBefore;
    EXPECT_EQ(read(join({"'",    "' anything at all: 77",
                         "''",   "'\n7\n",
                         "2509", "2510",
                         "'a",   "'b",
                         "'c",   "'d",
                         "'e",   "-120",
                         "300",  "'",
                         "True", "False",
                         "True", "False",
                         "'",    "250"})),
              SettingsReadOutcome::Loaded);
    EXPECT_EQ(settings, kInFile);
}

TEST_F(SettingsReaderTest, NothingAfterTheNinthValueIsRead) {
    const std::string file = app::format_settings(kInFile, "12/6/26");
    EXPECT_EQ(read(file + "not a value\r\n\r\n"), SettingsReadOutcome::Loaded);
    EXPECT_EQ(settings, kInFile);
    // Nor need the last value have a line end.
    settings = kBefore;
    EXPECT_EQ(read(join({"2509", "2510", "-120", "300", "True", "False", "True", "False"}) + "250"),
              SettingsReadOutcome::Loaded);
    EXPECT_EQ(settings, kInFile);
}

TEST_F(SettingsReaderTest, LinesEndAtCarriageReturnsButNotAtLoneLineFeeds) {
    std::string file = app::format_settings(kInFile, "12/6/26");
    std::string cr_only = file;
    std::erase(cr_only, '\n');
    EXPECT_EQ(read(cr_only), SettingsReadOutcome::Loaded);
    EXPECT_EQ(settings, kInFile);

    // With LF alone the whole file is a single comment line, and the end
    // comes before the first value.
    settings = kBefore;
    std::string lf_only = file;
    std::erase(lf_only, '\r');
    EXPECT_EQ(read(lf_only), SettingsReadOutcome::ReadFailure);
    EXPECT_EQ(settings, kBefore);
}

TEST_F(SettingsReaderTest, OnlyAnApostropheInFirstPlaceMarksAComment) {
    // An empty line is a value, and not a number.
    EXPECT_EQ(read(join({"2509", "2510", "'", "", "-120"})), SettingsReadOutcome::ReadFailure);
    EXPECT_EQ(settings.LISTEN_PORT, 2509);
    EXPECT_EQ(settings.TRANSMIT_PORT, 2510);
    EXPECT_EQ(settings.WINDOW_LEFT, kBefore.WINDOW_LEFT);

    settings = kBefore;
    EXPECT_EQ(read(join({" ' indented", "2509"})), SettingsReadOutcome::ReadFailure);
    EXPECT_EQ(settings, kBefore);
}

TEST_F(SettingsReaderTest, ABadValueStopsTheReadingThere) {
    EXPECT_EQ(read(join({"2509", "40000", "-120", "300", "True", "False", "True", "False", "250"})),
              SettingsReadOutcome::ReadFailure);
    Settings expected = kBefore;
    expected.LISTEN_PORT = 2509;
    EXPECT_EQ(settings, expected);

    settings = kBefore;
    EXPECT_EQ(read(join({"2509", "2510", "-120", "300", "yes", "False", "True", "False", "250"})),
              SettingsReadOutcome::ReadFailure);
    expected = kBefore;
    expected.LISTEN_PORT = 2509;
    expected.TRANSMIT_PORT = 2510;
    expected.WINDOW_LEFT = -120;
    expected.WINDOW_TOP = 300;
    EXPECT_EQ(settings, expected);
}

TEST_F(SettingsReaderTest, ValuesMayBeWrittenAsHandEditsWriteThem) {
    EXPECT_EQ(
        read(join({"2509.5", "2510.5", " -120 ", "+300", "true", "0", "1", "FALSE", "250.0"})),
        SettingsReadOutcome::Loaded);
    EXPECT_EQ(settings, (Settings{2510, 2510, -120, 300, true, false, true, false, 250}));
}

TEST_F(SettingsReaderTest, AFileCutShortKeepsTheValuesBeforeTheCut) {
    // The written file up to the third value and the comment after it.
    const std::string file = app::format_settings(kInFile, "12/6/26");
    const std::size_t cut = file.find("-120\r\n'\r\n");
    ASSERT_NE(cut, std::string::npos);

    EXPECT_EQ(read(file.substr(0, cut + 9)), SettingsReadOutcome::ReadFailure);
    Settings expected = kBefore;
    expected.LISTEN_PORT = kInFile.LISTEN_PORT;
    expected.TRANSMIT_PORT = kInFile.TRANSMIT_PORT;
    expected.WINDOW_LEFT = kInFile.WINDOW_LEFT;
    EXPECT_EQ(settings, expected);

    settings = kBefore;
    EXPECT_EQ(read(""), SettingsReadOutcome::ReadFailure);
    EXPECT_EQ(settings, kBefore);
}

TEST_F(SettingsReaderTest, NoFileOrSomethingElseThanAFileIsMissing) {
    EXPECT_EQ(reader.read(settings), SettingsReadOutcome::Missing);
    EXPECT_EQ(settings, kBefore);

    files.entries[kPath] = fakes::FakeEntry{join({"2509"}), false};
    EXPECT_EQ(reader.read(settings), SettingsReadOutcome::Missing);
    EXPECT_EQ(files.read_fault.calls(), 0);
    EXPECT_EQ(settings, kBefore);

    // A failing look is no file either.
    files.entries[kPath].regular = true;
    files.regular_fault.always();
    EXPECT_EQ(reader.read(settings), SettingsReadOutcome::Missing);
    EXPECT_EQ(settings, kBefore);
}

TEST_F(SettingsReaderTest, AFileThatCannotBeReadIsAReadFailure) {
    files.read_fault.always();
    EXPECT_EQ(read(app::format_settings(kInFile, "12/6/26")), SettingsReadOutcome::ReadFailure);
    EXPECT_EQ(settings, kBefore);
}

}  // namespace
