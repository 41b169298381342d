#include "client/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using client::Arguments;
using client::Command;
using client::parse_arguments;
using client::PluginState;
using Words = std::vector<std::string>;

Arguments parsed(const Words& words) {
    const client::ParsedArguments result = parse_arguments(words);
    EXPECT_TRUE(result.arguments.has_value()) << result.error;
    return result.arguments.value_or(Arguments{});
}

Arguments with(Command command) {
    Arguments arguments;
    arguments.command = command;
    return arguments;
}

TEST(ArgumentsTest, DefaultsAreTheServerOnThisMachineAtItsStandardPortsAndStateNamesTakeAnyCase) {
    const Arguments arguments = parsed({"status"});
    EXPECT_EQ(arguments.command, Command::status);
    EXPECT_EQ(arguments.server, "127.0.0.1");
    EXPECT_EQ(arguments.port, 2509);
    EXPECT_EQ(arguments.reply_port, 2519);
    EXPECT_EQ(arguments.timeout, std::chrono::seconds(10));
    EXPECT_FALSE(arguments.raw);
    EXPECT_FALSE(arguments.count.has_value());

    Arguments mapped = with(Command::check);
    mapped.plugin = true;
    mapped.mapping = {PluginState::ok, PluginState::critical, PluginState::critical};
    EXPECT_EQ(parsed({"--offline", "OK", "check", "--dialing=Critical", "--unreachable=critical"}),
              mapped);
}

TEST(ArgumentsTest,
     OptionsTakeTheirValueEitherWayAndStandAnywhereAndTimeoutsAreSecondsToTheMillisecond) {
    Arguments expected = with(Command::listen);
    expected.server = "dish.example";
    expected.port = 1;
    expected.reply_port = 65535;
    expected.timeout = std::chrono::milliseconds(2500);
    expected.raw = true;
    expected.count = 3;
    const std::vector<Words> spellings = {
        {"--server", "dish.example", "--port", "1", "--reply-port", "65535", "--timeout", "2.5",
         "--raw", "--count", "3", "listen"},
        {"--server=dish.example", "--port=1", "--reply-port=65535", "--timeout=2.5", "--raw",
         "--count=3", "listen"},
        {"listen", "--count", "3", "--raw", "--timeout", "2.500", "--reply-port", "65535", "--port",
         "1", "--server", "dish.example"},
        // The last of a repeated option counts.
        {"--port", "7", "--port", "1", "--server=a", "--server=dish.example", "--reply-port",
         "65535", "--timeout=2.5", "--raw", "--count=3", "listen"},
        // The short forms and the name the plugin guidelines give -H.
        {"-H", "dish.example", "-p", "1", "--reply-port", "65535", "-t", "2.5", "--raw", "--count",
         "3", "listen"},
        {"-Hdish.example", "-p1", "--reply-port=65535", "-t2.5", "--raw", "--count=3", "listen"},
        {"--hostname", "dish.example", "--port=1", "--reply-port=65535", "--timeout=2.5", "--raw",
         "--count=3", "listen"},
    };
    for (const Words& words : spellings) {
        EXPECT_EQ(parsed(words), expected) << ::testing::PrintToString(words);
    }
    EXPECT_EQ(parsed({"--timeout", "1", "status"}).timeout, std::chrono::seconds(1));
    EXPECT_EQ(parsed({"--timeout", "0.001", "status"}).timeout, std::chrono::milliseconds(1));
    EXPECT_EQ(parsed({"--timeout", "0.25", "status"}).timeout, std::chrono::milliseconds(250));
    EXPECT_EQ(parsed({"--timeout", "1.23456", "status"}).timeout, std::chrono::milliseconds(1234));
    EXPECT_EQ(parsed({"--timeout", "86400", "status"}).timeout, std::chrono::hours(24));
}

TEST(ArgumentsTest, HelpAndVersionWinOverEveryOtherWordAndKnowWhetherAPluginAsks) {
    struct Case {
        Words words;
        Command command;
        bool plugin;
    };
    const std::vector<Case> cases = {
        {{"--help"}, Command::help, false},
        {{"-h"}, Command::help, false},
        {{"help"}, Command::help, false},
        {{"status", "--help", "--bogus"}, Command::help, false},
        {{"--bogus", "--port", "0", "-h"}, Command::help, false},
        {{"--version"}, Command::version, false},
        {{"check", "-h"}, Command::help, true},
        {{"--offline", "maybe", "check", "--help"}, Command::help, true},
        {{"-V", "-t", "5", "check", "--raw"}, Command::version, true},
    };
    for (const Case& c : cases) {
        const Arguments arguments = parsed(c.words);
        EXPECT_EQ(arguments.command, c.command) << ::testing::PrintToString(c.words);
        EXPECT_EQ(arguments.plugin, c.plugin) << ::testing::PrintToString(c.words);
    }
}

TEST(ArgumentsTest, WrongCommandLinesAreExplained) {
    struct Case {
        Words words;
        std::string says;
        bool plugin = false;
    };
    const std::vector<Case> cases = {
        {{}, "no command given"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x", "status"}, "unknown option -x"},
        {{"-hV", "status"}, "unknown option -hV"},
        {{"--raw=yes", "status"}, "--raw takes no value"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"STATUS"}, "unknown command \"STATUS\""},
        {{"status", "now"}, "unexpected argument \"now\""},
        {{"message"}, "message needs its text"},
        {{"message", "two", "words"}, "unexpected argument \"words\" (quote"},
        {{"status", "--port"}, "--port needs a value"},
        {{"status", "-H"}, "-H needs a value"},
        {{"status", "--server="}, "--server needs a host"},
        {{"--port", "0", "status"}, "--port: \"0\" is not a port number (1 to 65535)"},
        {{"--port", "65536", "status"}, "is not a port number"},
        {{"-p25o9", "status"}, "-p: \"25o9\" is not a port number"},
        {{"--reply-port", "99999999999999999999999", "status"}, "--reply-port: \"9999"},
        {{"--timeout", "0", "status"}, "--timeout: \"0\" is not a number of seconds"},
        {{"--timeout", "0.0001", "status"}, "is not a number of seconds"},
        {{"--timeout", "1e3", "status"}, "is not a number of seconds"},
        {{"--timeout", ".5", "status"}, "is not a number of seconds"},
        {{"--timeout", "86400.001", "status"}, "is not a number of seconds"},
        {{"-t", "99999999999999999999", "status"}, "-t: \"9999"},
        {{"--count", "0", "listen"}, "--count: \"0\" is not a whole number"},
        {{"--count", "3", "status"}, "--count applies only to listen"},
        {{"--offline", "ok", "status"}, "--offline applies only to check"},
        // The first mistake is the one told.
        {{"--port", "0", "check", "--bogus"}, "--port: \"0\"", true},
        {{"check", "--offline", "unknown"}, "is not critical, warning or ok", true},
        {{"check", "--unreachable", "warning"}, "is not critical or unknown", true},
        {{"check", "--raw"}, "--raw does not apply to check", true},
        {{"check", "now"}, "unexpected argument \"now\"", true},
    };
    for (const Case& c : cases) {
        const client::ParsedArguments result = parse_arguments(c.words);
        EXPECT_FALSE(result.arguments.has_value()) << ::testing::PrintToString(c.words);
        EXPECT_NE(result.error.find(c.says), std::string::npos)
            << ::testing::PrintToString(c.words) << " said: " << result.error;
        EXPECT_EQ(result.plugin, c.plugin) << ::testing::PrintToString(c.words);
    }
}

}  // namespace
