#include "client/arguments.h"

#include <cstddef>
#include <string_view>

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
    if (!all_digits(text)) {
        return std::nullopt;
    }
    unsigned long value = 0;
    for (const char c : text) {
        value = value * 10 + static_cast<unsigned long>(c - '0');
        if (value > most) {
            return std::nullopt;
        }
    }
    if (value == 0) {
        return std::nullopt;
    }
    return value;
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

ParsedArguments failure(std::string error) {
    return ParsedArguments{std::nullopt, std::move(error)};
}

std::string quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

}  // namespace

ParsedArguments parse_arguments(const std::vector<std::string>& words) {
    Arguments arguments;
    std::vector<std::string> plain;
    bool options_ended = false;

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
        if (word == "--help" || word == "-h") {
            arguments.command = Command::help;
            return ParsedArguments{arguments, {}};
        }
        if (word == "--raw") {
            arguments.raw = true;
            continue;
        }

        // The options with a value: "--name value" or "--name=value".
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (name != "--server" && name != "--port" && name != "--reply-port" &&
            name != "--timeout" && name != "--count") {
            return failure("unknown option " + name);
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            return failure(name + " needs a value");
        }

        if (name == "--server") {
            if (value.empty()) {
                return failure("--server needs a host name or address");
            }
            arguments.server = value;
        } else if (name == "--port" || name == "--reply-port") {
            const auto port = whole_number(value, 65535);
            if (!port) {
                return failure(name + ": " + quoted(value) + " is not a port number (1 to 65535)");
            }
            (name == "--port" ? arguments.port : arguments.reply_port) =
                static_cast<std::uint16_t>(*port);
        } else if (name == "--timeout") {
            const auto timeout = seconds(value);
            if (!timeout) {
                return failure("--timeout: " + quoted(value) +
                               " is not a number of seconds from 0.001 to 86400");
            }
            arguments.timeout = *timeout;
        } else {
            const auto count = whole_number(value, 1'000'000'000);
            if (!count) {
                return failure("--count: " + quoted(value) + " is not a whole number from 1 up");
            }
            arguments.count = static_cast<unsigned>(*count);
        }
    }

    if (plain.empty()) {
        return failure("no command given (status, connect, disconnect, message or listen)");
    }
    const auto command = command_named(plain[0]);
    if (!command) {
        return failure("unknown command " + quoted(plain[0]));
    }
    arguments.command = *command;
    std::size_t used = 1;
    if (arguments.command == Command::message) {
        if (plain.size() < 2) {
            return failure("message needs its text, or - to read it from standard input");
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
            (arguments.command == Command::message ? " (quote a message of several words)" : ""));
    }
    if (arguments.count && arguments.command != Command::listen) {
        return failure("--count applies only to listen");
    }
    return ParsedArguments{arguments, {}};
}

std::string usage_text() {
    return R"(Usage: orvanta-client [OPTIONS] COMMAND

Talks to an Orvanta server: asks for the link status, has it dial or hang
up, sends its operator a message, or waits for what it sends.

Commands:
  status          ask for the status and print it
  connect         have the server dial its satellite Internet connection
  disconnect      have the server hang up
  message TEXT    send TEXT to the server's operator (- reads standard input)
  listen          print status replies and operator messages as they arrive

Options:
  --server HOST       the server's name or IPv4 address (default 127.0.0.1)
  --port N            the server's receive port, 1 to 65535 (default 2509)
  --reply-port N      this side's port for replies, 1 to 65535 (default 2519)
  --timeout SECONDS   longest wait, fractions allowed (default 10)
  --raw               print replies exactly as received
  --count N           listen: stop after N arrivals
  -h, --help          print this help

Exit status: 0 done, 1 other failure, 2 wrong arguments, 3 server not
reachable, 4 no answer in time, 5 server busy, 6 reply port not available,
7 answer not understood.
)";
}

}  // namespace client
