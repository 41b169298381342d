#include "proc_stats.h"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace bench {

namespace {

std::string proc_file(pid_t pid, const char* name) {
    const std::string path = "/proc/" + std::to_string(pid) + "/" + name;
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::uint64_t to_number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw std::runtime_error("not a number: \"" + std::string(text) + "\"");
    }
    return value;
}

}  // namespace

std::uint64_t parse_cpu_ticks(std::string_view stat) {
    // Fields 14 and 15 (utime, stime); counting starts again after the name,
    // whose closing parenthesis is the last one on the line.
    const std::size_t name_end = stat.rfind(')');
    if (name_end == std::string_view::npos) {
        throw std::runtime_error("no command name in /proc/<pid>/stat");
    }
    std::string_view rest = stat.substr(name_end + 1);
    std::uint64_t ticks = 0;
    for (int field = 3; field <= 15; ++field) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            throw std::runtime_error("/proc/<pid>/stat ends too early");
        }
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find(' '), rest.size());
        if (field >= 14) {
            ticks += to_number(rest.substr(0, end));
        }
        rest.remove_prefix(end);
    }
    return ticks;
}

long parse_status_kib(std::string_view status, std::string_view key) {
    std::size_t at = 0;
    while (at < status.size()) {
        const std::size_t end = std::min(status.find('\n', at), status.size());
        std::string_view line = status.substr(at, end - at);
        at = end + 1;
        if (line.size() <= key.size() || line.substr(0, key.size()) != key ||
            line[key.size()] != ':') {
            continue;
        }
        line.remove_prefix(key.size() + 1);
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos || line.substr(space) != " kB") {
            throw std::runtime_error("unexpected /proc/<pid>/status line for " + std::string(key));
        }
        return static_cast<long>(to_number(line.substr(0, space)));
    }
    throw std::runtime_error("no " + std::string(key) + " in /proc/<pid>/status");
}

double cpu_milliseconds(pid_t pid) {
    static const long ticks_per_second = ::sysconf(_SC_CLK_TCK);
    return static_cast<double>(parse_cpu_ticks(proc_file(pid, "stat"))) * 1000.0 /
           static_cast<double>(ticks_per_second);
}

ThreadTimes thread_cpu_milliseconds(pid_t pid) {
    ThreadTimes times;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::ifstream in(task.path() / "schedstat");
        std::uint64_t nanoseconds = 0;
        if (in >> nanoseconds) {
            const auto thread = static_cast<pid_t>(to_number(task.path().filename().string()));
            times[thread] = static_cast<double>(nanoseconds) / 1e6;
        }
    }
    return times;
}

double cpu_milliseconds_between(const ThreadTimes& before, const ThreadTimes& after) {
    double spent = 0;
    for (const auto& [thread, milliseconds] : after) {
        const auto earlier = before.find(thread);
        spent += milliseconds - (earlier == before.end() ? 0.0 : earlier->second);
    }
    return spent;
}

long status_kib(pid_t pid, std::string_view key) {
    return parse_status_kib(proc_file(pid, "status"), key);
}

int open_descriptors(pid_t pid) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        ++count;
    }
    return count;
}

}  // namespace bench
