#include "client/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using client::Arguments;
using client::Command;
using client::parse_arguments;
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

TEST(ArgumentsTest, DefaultsAreTheServerOnThisMachineAtItsStandardPorts) {
    const Arguments arguments = parsed({"status"});
    EXPECT_EQ(arguments.command, Command::status);
    EXPECT_EQ(arguments.server, "127.0.0.1");
    EXPECT_EQ(arguments.port, 2509);
    EXPECT_EQ(arguments.reply_port, 2519);
    EXPECT_EQ(arguments.timeout, std::chrono::seconds(10));
    EXPECT_FALSE(arguments.raw);
    EXPECT_FALSE(arguments.count.has_value());
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

TEST(ArgumentsTest, MessageTextComesFromTheWordOrFromStandardInput) {
    Arguments typed = with(Command::message);
    typed.message = "dish needs a look";
    EXPECT_EQ(parsed({"message", "dish needs a look"}), typed);

    Arguments dashed = with(Command::message);
    dashed.message = "-5 degrees outside";
    EXPECT_EQ(parsed({"message", "--", "-5 degrees outside"}), dashed);

    Arguments empty = with(Command::message);
    EXPECT_EQ(parsed({"message", ""}), empty);

    Arguments piped = with(Command::message);
    piped.message_from_stdin = true;
    EXPECT_EQ(parsed({"message", "-"}), piped);
}

TEST(ArgumentsTest, HelpWinsOverEverythingAfterIt) {
    for (const Words& words : std::vector<Words>{
             {"--help"}, {"-h"}, {"help"}, {"status", "--help", "--bogus"}, {"-h", "nonsense"}}) {
        EXPECT_EQ(parsed(words).command, Command::help) << ::testing::PrintToString(words);
    }
}

TEST(ArgumentsTest, WrongCommandLinesAreExplained) {
    struct Case {
        Words words;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{}, "no command given"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x", "status"}, "unknown option -x"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"STATUS"}, "unknown command \"STATUS\""},
        {{"status", "now"}, "unexpected argument \"now\""},
        {{"message"}, "message needs its text"},
        {{"message", "two", "words"}, "unexpected argument \"words\" (quote"},
        {{"status", "--port"}, "--port needs a value"},
        {{"status", "--server="}, "--server needs a host"},
        {{"--port", "0", "status"}, "--port: \"0\" is not a port number (1 to 65535)"},
        {{"--port", "65536", "status"}, "is not a port number"},
        {{"--port", "25o9", "status"}, "is not a port number"},
        {{"--reply-port", "99999999999999999999999", "status"}, "--reply-port: \"9999"},
        {{"--timeout", "0", "status"}, "--timeout: \"0\" is not a number of seconds"},
        {{"--timeout", "0.0001", "status"}, "is not a number of seconds"},
        {{"--timeout", "1e3", "status"}, "is not a number of seconds"},
        {{"--timeout", ".5", "status"}, "is not a number of seconds"},
        {{"--timeout", "86400.001", "status"}, "is not a number of seconds"},
        {{"--timeout", "99999999999999999999", "status"}, "is not a number of seconds"},
        {{"--count", "0", "listen"}, "--count: \"0\" is not a whole number"},
        {{"--count", "3", "status"}, "--count applies only to listen"},
    };
    for (const Case& c : cases) {
        const client::ParsedArguments result = parse_arguments(c.words);
        EXPECT_FALSE(result.arguments.has_value()) << ::testing::PrintToString(c.words);
        EXPECT_NE(result.error.find(c.says), std::string::npos)
            << ::testing::PrintToString(c.words) << " said: " << result.error;
    }
}

}  // namespace
