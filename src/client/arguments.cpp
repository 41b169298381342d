#include "client/arguments.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "util/text.h"

namespace client {

namespace {

bool all_digits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A whole number from 1 to most, or nothing.
std::optional<unsigned long> whole_number(std::string_view text, unsigned long most) {
    const auto value = util::parse_decimal(text, most);
    return value == 0UL ? std::nullopt : value;
}

// Seconds as "10" or "2.5", to the millisecond; anything finer is dropped.
std::optional<std::chrono::milliseconds> seconds(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (!all_digits(whole) || (point != std::string_view::npos && !all_digits(fraction))) {
        return std::nullopt;
    }
    long long milliseconds = 0;
    for (const char c : whole) {
        milliseconds = milliseconds * 10 + (c - '0');
        if (milliseconds > Arguments::longest_timeout.count() / 1000) {
            return std::nullopt;
        }
    }
    milliseconds *= 1000;
    long long scale = 100;
    for (std::size_t i = 0; i < fraction.size() && scale > 0; ++i, scale /= 10) {
        milliseconds += (fraction[i] - '0') * scale;
    }
    if (milliseconds <= 0 || milliseconds > Arguments::longest_timeout.count()) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(milliseconds);
}

std::optional<Command> command_named(std::string_view word) {
    if (word == "status") {
        return Command::status;
    }
    if (word == "check") {
        return Command::check;
    }
    if (word == "connect") {
        return Command::connect;
    }
    if (word == "disconnect") {
        return Command::disconnect;
    }
    if (word == "message") {
        return Command::message;
    }
    if (word == "listen") {
        return Command::listen;
    }
    if (word == "help") {
        return Command::help;
    }
    return std::nullopt;
}

// The long option that a short one stands for, or nothing.
std::string_view long_name(char letter) {
    switch (letter) {
        case 'H':
            return "--server";
        case 'p':
            return "--port";
        case 't':
            return "--timeout";
        case 'h':
            return "--help";
        case 'V':
            return "--version";
        default:
            return {};
    }
}

bool takes_value(std::string_view option) {
    for (const std::string_view valued :
         {"--server", "--hostname", "--port", "--reply-port", "--timeout", "--count", "--offline",
          "--dialing", "--unreachable"}) {
        if (option == valued) {
            return true;
        }
    }
    return false;
}

bool is_check_option(std::string_view option) {
    return option == "--offline" || option == "--dialing" || option == "--unreachable";
}

// "critical", "warning", "ok" or "unknown", in either case.
std::optional<PluginState> plugin_state_named(std::string_view word) {
    std::string lower;
    for (const char c : word) {
        lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const auto& [name, state] :
         {std::pair{"ok", PluginState::ok}, std::pair{"warning", PluginState::warning},
          std::pair{"critical", PluginState::critical},
          std::pair{"unknown", PluginState::unknown}}) {
        if (lower == name) {
            return state;
        }
    }
    return std::nullopt;
}

ParsedArguments failure(std::string error, bool plugin) {
    return ParsedArguments{std::nullopt, std::move(error), plugin};
}

std::string quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

// Takes the value of one option, written as name, into arguments; says what
// is wrong with it, or nothing.
std::string take_value(Arguments& arguments, std::string_view option, const std::string& name,
                       const std::string& value) {
    if (option == "--server" || option == "--hostname") {
        if (value.empty()) {
            return name + " needs a host name or address";
        }
        arguments.server = value;
    } else if (option == "--port" || option == "--reply-port") {
        const auto port = whole_number(value, 65535);
        if (!port) {
            return name + ": " + quoted(value) + " is not a port number (1 to 65535)";
        }
        (option == "--port" ? arguments.port : arguments.reply_port) =
            static_cast<std::uint16_t>(*port);
    } else if (option == "--timeout") {
        const auto timeout = seconds(value);
        if (!timeout) {
            return name + ": " + quoted(value) + " is not a number of seconds from 0.001 to 86400";
        }
        arguments.timeout = *timeout;
    } else if (option == "--count") {
        const auto count = whole_number(value, 1'000'000'000);
        if (!count) {
            return name + ": " + quoted(value) + " is not a whole number from 1 up";
        }
        arguments.count = static_cast<unsigned>(*count);
    } else if (option == "--unreachable") {
        // A server out of reach is either the fault being watched for or
        // no finding at all; never a mere warning, never fine.
        const auto state = plugin_state_named(value);
        if (state != PluginState::critical && state != PluginState::unknown) {
            return name + ": " + quoted(value) + " is not critical or unknown";
        }
        arguments.mapping.unreachable = *state;
    } else {
        // A link the server has read is always known.
        const auto state = plugin_state_named(value);
        if (!state || state == PluginState::unknown) {
            return name + ": " + quoted(value) + " is not critical, warning or ok";
        }
        (option == "--offline" ? arguments.mapping.offline : arguments.mapping.dialing) = *state;
    }
    return {};
}

}  // namespace

ParsedArguments parse_arguments(const std::vector<std::string>& words) {
    Arguments arguments;
    std::vector<std::string> plain;
    bool options_ended = false;
    // --help or --version, which answer whatever else the words say.
    std::optional<Command> asked;
    // The first mistake; the words after it are still read for --help.
    std::string error;
    std::string check_option;
    const auto mistake = [&error](std::string text) {
        if (error.empty()) {
            error = std::move(text);
        }
    };

    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (options_ended || word == "-" || word.empty() || word[0] != '-') {
            plain.push_back(word);
            continue;
        }
        if (word == "--") {
            options_ended = true;
            continue;
        }
        // "--name=value" and "--name value"; "-p2509" and "-p 2509".
        const bool is_long = word.starts_with("--");
        const std::size_t name_end = is_long ? word.find('=') : 2;
        const std::string name = word.substr(0, name_end);
        std::optional<std::string> attached;
        if (name_end < word.size()) {
            attached = word.substr(is_long ? name_end + 1 : name_end);
        }
        const std::string_view option = is_long ? std::string_view(name) : long_name(name[1]);

        if (option == "--help" || option == "--version" || option == "--raw") {
            if (attached) {
                mistake(is_long ? name + " takes no value" : "unknown option " + word);
            } else if (option == "--raw") {
                arguments.raw = true;
            } else if (!asked) {
                asked = option == "--help" ? Command::help : Command::version;
            }
            continue;
        }
        if (!takes_value(option)) {
            mistake("unknown option " + name);
            continue;
        }
        std::string value;
        if (attached) {
            value = *attached;
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            mistake(name + " needs a value");
            continue;
        }
        if (is_check_option(option) && check_option.empty()) {
            check_option = name;
        }
        mistake(take_value(arguments, option, name, value));
    }

    const bool plugin = !plain.empty() && plain[0] == "check";
    arguments.plugin = plugin;
    if (asked) {
        arguments.command = *asked;
        return ParsedArguments{arguments, {}, plugin};
    }
    if (!error.empty()) {
        return failure(error, plugin);
    }
    if (plain.empty()) {
        return failure("no command given (status, check, connect, disconnect, message or listen)",
                       plugin);
    }
    const auto command = command_named(plain[0]);
    if (!command) {
        return failure("unknown command " + quoted(plain[0]), plugin);
    }
    arguments.command = *command;
    std::size_t used = 1;
    if (arguments.command == Command::message) {
        if (plain.size() < 2) {
            return failure("message needs its text, or - to read it from standard input", plugin);
        }
        arguments.message_from_stdin = plain[1] == "-";
        if (!arguments.message_from_stdin) {
            arguments.message = plain[1];
        }
        used = 2;
    }
    if (plain.size() > used) {
        return failure(
            "unexpected argument " + quoted(plain[used]) +
                (arguments.command == Command::message ? " (quote a message of several words)"
                                                       : ""),
            plugin);
    }
    if (arguments.count && arguments.command != Command::listen) {
        return failure("--count applies only to listen", plugin);
    }
    if (!check_option.empty() && arguments.command != Command::check) {
        return failure(check_option + " applies only to check", plugin);
    }
    if (arguments.raw && arguments.command == Command::check) {
        return failure("--raw does not apply to check", plugin);
    }
    return ParsedArguments{arguments, {}, plugin};
}

std::string usage_text() {
    return R"(Usage: orvanta-client [OPTIONS] COMMAND

Talks to an Orvanta server: asks for the link status, has it dial or hang
up, sends its operator a message, or waits for what it sends. check does
what a monitoring system (Nagios, Icinga, Naemon) expects of a plugin.

Commands:
  status          ask for the status and print it
  check           ask for the status and report it as a monitoring plugin
  connect         have the server dial its satellite Internet connection
  disconnect      have the server hang up
  message TEXT    send TEXT to the server's operator (- reads standard input)
  listen          print status replies and operator messages as they arrive

Options:
  -H, --server HOST      the server's name or IPv4 address (default 127.0.0.1);
                         also --hostname
  -p, --port N           the server's receive port, 1 to 65535 (default 2509)
      --reply-port N     this side's port for replies, 1 to 65535 (default 2519)
  -t, --timeout SECONDS  longest wait, fractions allowed (default 10)
      --raw              print replies exactly as received
      --count N          listen: stop after N arrivals
  -h, --help             print this help
  -V, --version          print the version

check prints one line, "ORVANTA STATE - what the server said | performance
data", and ends with the state's exit status:
  0 OK        online with a signal
  1 WARNING   offline with a signal, or dialing (whether a dial has a signal
              is not reported)
  2 CRITICAL  no signal, online or offline
  3 UNKNOWN   no answer: the server not reachable, no reply in time, the
              server busy, a reply not understood, the reply port taken, the
              link not read yet since the server started, or wrong arguments
  --offline ok|warning|critical   the state for offline with a signal
  --dialing ok|warning|critical   the state for dialing
  --unreachable unknown|critical  the state for a server not reachable (not
                                  found, refused, no route, no answer)
For example:
  $ orvanta-client check -H dish-pc -t 5 --offline ok
  ORVANTA OK - online, signal present, last dial 9:05pm | online=1;;;0;1 signal=1;;;0;1 response_time=0.004127s;;;0
With check, --help and --version end with status 3 (UNKNOWN).

Exit status of the other commands: 0 done, 1 other failure, 2 wrong
arguments, 3 server not reachable, 4 no answer in time, 5 server busy,
6 reply port not available, 7 answer not understood.
)";
}

std::string version_text() {
    return "orvanta-client " ORVANTA_VERSION;
}

}  // namespace client
