#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace client {

enum class Command { help, version, status, check, connect, disconnect, message, listen };

// What check reports, as a monitoring plugin: its exit status is the number.
enum class PluginState { ok = 0, warning = 1, critical = 2, unknown = 3 };

// The states that check gives the conditions an operator may judge for
// themselves; the rest (no signal, a link not classified yet, every other
// failure) are fixed.
struct CheckMapping {
    PluginState offline = PluginState::warning;  // offline with a signal
    PluginState dialing = PluginState::warning;
    PluginState unreachable = PluginState::unknown;

    bool operator==(const CheckMapping&) const = default;
};

// What the command line asks for, with every default filled in.
struct Arguments {
    static constexpr std::uint16_t default_port = 2509;
    static constexpr std::uint16_t default_reply_port = 2519;
    static constexpr std::chrono::milliseconds default_timeout{10'000};
    // A day; long enough for any wait anyone means, and far from overflowing.
    static constexpr std::chrono::milliseconds longest_timeout{86'400'000};

    Command command = Command::help;
    // The command line names check: help, version and mistakes are answered
    // the way monitoring systems expect of a plugin.
    bool plugin = false;
    std::string server = "127.0.0.1";
    std::uint16_t port = default_port;
    std::uint16_t reply_port = default_reply_port;
    std::chrono::milliseconds timeout = default_timeout;
    bool raw = false;
    // listen: stop after this many arrivals; without it, wait until stopped.
    std::optional<unsigned> count;
    // message: the text as given (UTF-8), or read from standard input.
    std::string message;
    bool message_from_stdin = false;
    CheckMapping mapping;

    bool operator==(const Arguments&) const = default;
};

// Either the arguments or, for a command line that makes no sense, a one-line
// explanation of what is wrong.
struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error;
    bool plugin = false;  // as in Arguments
};

// Parses the words after the program's name. Options may stand before or
// after the command, as "--port 2509" or "--port=2509", and the short ones as
// "-p 2509" or "-p2509"; "--" ends them. --help and --version win over every
// other word, right or wrong.
ParsedArguments parse_arguments(const std::vector<std::string>& words);

// The text --help prints.
std::string usage_text();

// The line --version prints.
std::string version_text();

}  // namespace client
