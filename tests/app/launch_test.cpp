#include "app/launch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/autostart.h"
#include "fakes/fake_file_system.h"

namespace {

using Action = app::CommandLine::Action;
using Arguments = std::vector<std::string>;

TEST(LaunchTest, OwnOptionsStandAloneAndEverythingElseIsLeftToQt) {
    const std::pair<Arguments, Action> cases[] = {
        {{}, Action::Run},
        {{"-platform", "offscreen"}, Action::Run},
        {{"--help"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"--autostart", "on"}, Action::AutostartOn},
        {{"--autostart=off"}, Action::AutostartOff},
        {{"--autostart"}, Action::Mistake},
        {{"--autostart", "yes"}, Action::Mistake},
        {{"--autostart", "on", "--version"}, Action::Mistake},
        {{"-platform", "offscreen", "--help"}, Action::Mistake},
        {{"--help", "extra"}, Action::Mistake},
    };
    for (const auto& [arguments, action] : cases) {
        EXPECT_EQ(app::parse_command_line(arguments).action, action)
            << (arguments.empty() ? "" : arguments.back());
    }
    EXPECT_EQ(app::unexpected_arguments({"bogus", "-x"}).mistake,
              "unexpected arguments \"bogus\" \"-x\"");
}

class LaunchOnFilesTest : public ::testing::Test {
  protected:
    fakes::FakeFileSystem files;
    std::ostringstream out;
    std::ostringstream err;
    app::Launch launch{
        files,
        {"/home/ann/.config/orvanta", "/home/ann/.config/autostart", "/opt/my apps/orvanta"},
        out,
        err};
};

TEST_F(LaunchOnFilesTest, AnswersTheOptionsWithTheRightStatusAndStream) {
    EXPECT_EQ(launch.handle({Action::Run, {}}), std::nullopt);
    EXPECT_EQ(launch.handle({Action::Version, {}}), 0);
    EXPECT_EQ(out.str(), "Orvanta v1.00\n") << "as the about box shows it";
    EXPECT_EQ(launch.handle(app::unexpected_arguments({"bogus"})), 2);
    EXPECT_EQ(err.str().rfind("orvanta: unexpected argument \"bogus\"\nUsage: orvanta", 0), 0U);

    // On, then off: written whole, then gone; off again is no fault.
    const std::string entry = "/home/ann/.config/autostart/org.orvanta.Orvanta.desktop";
    EXPECT_EQ(launch.handle({Action::AutostartOn, {}}), 0);
    ASSERT_TRUE(files.contains(entry));
    EXPECT_NE(files.entries.at(entry).bytes.find("\nExec=\"/opt/my apps/orvanta\"\n"),
              std::string::npos);
    EXPECT_EQ(files.made_folders.back().first, "/home/ann/.config/autostart");
    EXPECT_EQ(launch.handle({Action::AutostartOff, {}}), 0);
    EXPECT_FALSE(files.contains(entry));
    EXPECT_EQ(launch.handle({Action::AutostartOff, {}}), 0);
    EXPECT_EQ(files.paths(), std::vector<std::string>{}) << "no temporary file left behind";

    files.replace_fault.always();
    err.str("");
    EXPECT_EQ(launch.handle({Action::AutostartOn, {}}), 1);
    EXPECT_NE(err.str().find("orvanta: --autostart: "), std::string::npos);
    EXPECT_EQ(files.paths(), std::vector<std::string>{}) << "no temporary file left behind";
}

TEST(LaunchTest, ExecQuotesWhatADesktopWouldSplitOrExpand) {
    EXPECT_EQ(app::exec_argument("/usr/bin/orvanta"), "/usr/bin/orvanta");
    EXPECT_EQ(app::exec_argument("/opt/50%/orvanta"), "/opt/50%%/orvanta");
    EXPECT_EQ(app::exec_argument("/home/a b/$x\"`\\"), R"("/home/a b/\\$x\\"\\`\\\\")");
    EXPECT_THROW(app::exec_argument("/tmp/line\nbreak"), platform::Failure);
}

TEST_F(LaunchOnFilesTest, StopsOnAMistakeInOrvantaConfBeforeAnyWindowAndSaysWhere) {
    app::OrvantaConf conf;
    EXPECT_EQ(launch.read_conf(conf), std::nullopt) << "no file: every default";

    files.put("/home/ann/.config/orvanta/orvanta.conf", "\n\nnavigator = yes\n");
    EXPECT_EQ(launch.read_conf(conf), 2);
    EXPECT_EQ(err.str(),
              "orvanta: /home/ann/.config/orvanta/orvanta.conf:3: navigator cannot be \"yes\"; it "
              "can be \"simulated\" or \"networkmanager\"\n");

    err.str("");
    files.read_fault.always();
    EXPECT_EQ(launch.read_conf(conf), 2);
    EXPECT_EQ(
        err.str().rfind("orvanta: /home/ann/.config/orvanta/orvanta.conf: cannot be read: ", 0), 0U)
        << err.str();
}

}  // namespace
