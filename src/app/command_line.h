#pragma once

#include <string>
#include <vector>

namespace app {

// What the command line asks of the program. Its own options are long ones:
//   --help, --version, --autostart on|off (also --autostart=on)
// Anything else is left to Qt (-platform, -display, ...), which takes its
// own; whatever Qt does not take is a mistake (see unexpected_arguments).
struct CommandLine {
    enum class Action { Run, Help, Version, AutostartOn, AutostartOff, Mistake };
    Action action = Action::Run;
    // For a mistake: what is wrong, for the usage message.
    std::string mistake;
};

// Looks at the arguments (without the program's name) for the program's own
// options. One of them, alone, is what is asked; one among other arguments,
// or a wrong value, is a mistake.
CommandLine parse_command_line(const std::vector<std::string>& arguments);

// The mistake for arguments that nothing took.
CommandLine unexpected_arguments(const std::vector<std::string>& arguments);

// The help for --help.
std::string usage_text();
// The short usage that follows a mistake's message.
std::string usage_lines();

}  // namespace app
