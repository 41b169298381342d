#include "app/orvanta_conf.h"

#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "app/launch.h"
#include "fakes/fake_file_system.h"

namespace {

using app::ConfError;
using app::OrvantaConf;

TEST(OrvantaConfTest, KeysValuesCommentsAndBlanksAsAnOperatorWritesThem) {
    for (const char* text : {"", "\n\n", "# nothing yet\n", "navigator = simulated",
                             "  # the link\n\tnavigator\t=\tsimulated  \r\n\n",
                             "navigator=simulated\n# \xc3\xa9t\xc3\xa9 ok\n"}) {
        EXPECT_EQ(app::parse_orvanta_conf(text), app::ConfResult(OrvantaConf{})) << text;
    }
}

TEST(OrvantaConfTest, EveryMistakeNamesItsLine) {
    const std::pair<const char*, ConfError> cases[] = {
        {"# ok\nnavigatr = simulated\n", {2, "unknown key \"navigatr\""}},
        {"navigator = simulated\n\nnavigator = simulated\n",
         {3, "key \"navigator\" given again (first on line 1)"}},
        {"navigator = networkmanager\n",
         {1, "navigator cannot be \"networkmanager\"; it can be \"simulated\""}},
        {"navigator =\n", {1, "navigator cannot be \"\"; it can be \"simulated\""}},
        {"\nnavigator simulated\n", {2, "expected \"key = value\", found \"navigator simulated\""}},
        {"= simulated\n", {1, "a value without a key"}},
        {"navigator = simulated # the link\n",
         {1, "navigator cannot be \"simulated # the link\"; it can be \"simulated\""}},
        {"navigator = simul\xe9ted\n", {0, "not UTF-8 text"}},
    };
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(app::parse_orvanta_conf(text), app::ConfResult(error)) << text;
    }
}

TEST(OrvantaConfTest, TheLaunchStopsOnAMistakeBeforeAnyWindowAndSaysWhere) {
    fakes::FakeFileSystem files;
    std::ostringstream out;
    std::ostringstream err;
    app::Launch launch(files, {"/home/ann/.config/orvanta", "/home/ann/.config/autostart", "/x"},
                       out, err);
    OrvantaConf conf;
    EXPECT_EQ(launch.read_conf(conf), std::nullopt) << "no file: every default";

    files.put("/home/ann/.config/orvanta/orvanta.conf", "\n\nnavigator = yes\n");
    EXPECT_EQ(launch.read_conf(conf), 2);
    EXPECT_EQ(err.str(),
              "orvanta: /home/ann/.config/orvanta/orvanta.conf:3: navigator cannot be \"yes\"; it "
              "can be \"simulated\"\n");

    err.str("");
    files.read_fault.always();
    EXPECT_EQ(launch.read_conf(conf), 2);
    EXPECT_EQ(
        err.str().rfind("orvanta: /home/ann/.config/orvanta/orvanta.conf: cannot be read: ", 0), 0U)
        << err.str();
}

}  // namespace
