// orvanta-client: asks an Orvanta server for its link status, has it dial or
// hang up, sends its operator a message, or listens for what it sends; or
// checks the link as a plugin of a monitoring system.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "client/arguments.h"
#include "client/check.h"
#include "client/client.h"

namespace {

// Written to by the signal handler; listening ends when it can be read.
int stop_pipe[2] = {-1, -1};

extern "C" void request_stop(int) {
    const char byte = 's';
    // Nothing to do if the pipe is full: it is readable already.
    [[maybe_unused]] const auto written = ::write(stop_pipe[1], &byte, 1);
}

// SIGINT and SIGTERM end listening cleanly; returns the descriptor to watch.
int stop_on_signals() {
    if (::pipe2(stop_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return -1;
    }
    struct sigaction action {};
    action.sa_handler = request_stop;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    return stop_pipe[0];
}

}  // namespace

int main(int argc, char** argv) {
    // A server that goes away while we write must not end the program.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<std::string> words(argv + 1, argv + argc);
    const client::ParsedArguments parsed = client::parse_arguments(words);
    if (!parsed.arguments && parsed.plugin) {
        // A monitoring system shows what a plugin prints, and only that.
        std::cout << client::plugin_line(
                         {client::PluginState::unknown, "wrong arguments: " + parsed.error, {}})
                  << '\n';
        return static_cast<int>(client::PluginState::unknown);
    }
    if (!parsed.arguments) {
        std::cerr << "orvanta-client: " << parsed.error << "\n"
                  << "Try 'orvanta-client --help' for more information.\n";
        return client::exit_status::usage;
    }
    const int interrupt =
        parsed.arguments->command == client::Command::listen ? stop_on_signals() : -1;
    client::Client client(*parsed.arguments, client::Console{std::cin, std::cout, std::cerr},
                          interrupt);
    return client.run();
}
