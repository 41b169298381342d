#include "app/settings_reader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_services.h"

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

}  // namespace
