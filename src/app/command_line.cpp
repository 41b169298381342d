#include "app/command_line.h"

#include <algorithm>
#include <string_view>

namespace app {

namespace {

bool is_own_option(std::string_view argument) {
    return argument == "--help" || argument == "--version" || argument == "--autostart" ||
           argument.starts_with("--autostart=");
}

CommandLine mistake(std::string what) {
    return {CommandLine::Action::Mistake, std::move(what)};
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
    if (std::ranges::none_of(arguments, is_own_option)) {
        return {};
    }
    const std::string& first = arguments.front();
    std::string autostart;
    std::size_t used = 1;
    if (first == "--help") {
        if (arguments.size() == 1) {
            return {CommandLine::Action::Help, {}};
        }
    } else if (first == "--version") {
        if (arguments.size() == 1) {
            return {CommandLine::Action::Version, {}};
        }
    } else if (first == "--autostart") {
        if (arguments.size() < 2) {
            return mistake("--autostart needs \"on\" or \"off\"");
        }
        autostart = arguments[1];
        used = 2;
    } else if (first.starts_with("--autostart=")) {
        autostart = first.substr(std::string_view("--autostart=").size());
    }
    if (arguments.size() > used || !is_own_option(first)) {
        return mistake("an option of Orvanta's stands with other arguments");
    }
    if (autostart == "on") {
        return {CommandLine::Action::AutostartOn, {}};
    }
    if (autostart == "off") {
        return {CommandLine::Action::AutostartOff, {}};
    }
    return mistake("--autostart needs \"on\" or \"off\", not \"" + autostart + "\"");
}

CommandLine unexpected_arguments(const std::vector<std::string>& arguments) {
    std::string listed;
    for (const std::string& argument : arguments) {
        listed += (listed.empty() ? "\"" : " \"") + argument + "\"";
    }
    return mistake("unexpected argument" + std::string(arguments.size() == 1 ? " " : "s ") +
                   listed);
}

std::string usage_lines() {
    return "Usage: orvanta [QT OPTION...]\n"
           "       orvanta --autostart on|off\n"
           "       orvanta --version\n"
           "       orvanta --help\n";
}

std::string usage_text() {
    return usage_lines() +
           "\n"
           "Watches the satellite link, dials and hangs it up, and serves its status to\n"
           "client programs. Run without options it opens its window.\n"
           "\n"
           "  --autostart on|off  start Orvanta with the desktop session, or no longer\n"
           "  --version           print the program's version\n"
           "  --help              print this help\n"
           "\n"
           "Qt's own options work as in every Qt program (-platform, -display, ...).\n"
           "Settings: Orvanta.ini and orvanta.conf (see orvanta(1)).\n";
}

}  // namespace app
