#pragma once

#include <chrono>
#include <string>

#include "client/arguments.h"
#include "client/reply.h"

namespace client {

// What check found, for its one line of output.
struct Verdict {
    PluginState state = PluginState::unknown;
    std::string text;
    // Performance data, as monitoring systems read it; empty for none.
    std::string performance;
};

// The verdict on what the server sent to the reply port, response_time after
// the check began. The server reports dialing with and without a signal
// alike, so a dial's signal is left out of the performance data.
Verdict judge_reply(const Reply& reply, std::chrono::microseconds response_time,
                    const CheckMapping& mapping);

// "ORVANTA OK - online, signal present, last dial 9:05pm | online=1;;;0;1 ..."
// on one line, without its line end. A '|' or line end in the text, which
// would end it early, becomes '?'.
std::string plugin_line(const Verdict& verdict);

}  // namespace client
