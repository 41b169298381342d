#include "client/check.h"

namespace client {

namespace {

std::string_view state_name(PluginState state) {
    switch (state) {
        case PluginState::ok:
            return "OK";
        case PluginState::warning:
            return "WARNING";
        case PluginState::critical:
            return "CRITICAL";
        case PluginState::unknown:
            break;
    }
    return "UNKNOWN";
}

PluginState state_of(const Reply& reply, const CheckMapping& mapping) {
    if (reply.signal == Signal::absent) {
        return PluginState::critical;
    }
    switch (reply.state) {
        case LinkState::online:
            return PluginState::ok;
        case LinkState::offline:
            return mapping.offline;
        case LinkState::dialing:
            return mapping.dialing;
    }
    return PluginState::unknown;
}

// A flag that is 0 or 1, with no thresholds of its own.
std::string flag(std::string_view label, bool set) {
    return std::string(label) + (set ? "=1" : "=0") + ";;;0;1";
}

// In seconds to the microsecond, which a check on the same network needs,
// and never in the exponent form that some monitoring systems cannot read.
std::string seconds_taken(std::chrono::microseconds time) {
    const long long microseconds = time.count();
    const std::string fraction = std::to_string(1'000'000 + microseconds % 1'000'000).substr(1);
    return "response_time=" + std::to_string(microseconds / 1'000'000) + "." + fraction + "s;;;0";
}

}  // namespace

Verdict judge_reply(const Reply& reply, std::chrono::microseconds response_time,
                    const CheckMapping& mapping) {
    Verdict verdict;
    switch (reply.kind) {
        case Reply::Kind::status:
            verdict.state = state_of(reply, mapping);
            verdict.text = describe(reply);
            verdict.performance = flag("online", reply.state == LinkState::online) + " ";
            if (reply.signal != Signal::not_reported) {
                verdict.performance += flag("signal", reply.signal == Signal::present) + " ";
            }
            verdict.performance += seconds_taken(response_time);
            return verdict;
        case Reply::Kind::status_not_known:
            // Nothing about the link yet: the server has not read it since it started.
            verdict.text = describe(reply);
            verdict.performance = seconds_taken(response_time);
            return verdict;
        case Reply::Kind::message:
        case Reply::Kind::not_understood:
            break;
    }
    verdict.text = "reply not understood: " + describe(reply);
    return verdict;
}

std::string plugin_line(const Verdict& verdict) {
    std::string line = "ORVANTA ";
    line += state_name(verdict.state);
    line += " - ";
    for (const char c : verdict.text) {
        line += c == '|' || c == '\n' || c == '\r' ? '?' : c;
    }
    if (!verdict.performance.empty()) {
        line += " | " + verdict.performance;
    }
    return line;
}

}  // namespace client
