#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace bench {

// What /proc tells about a running process.

// User plus system CPU time of all its threads, from /proc/<pid>/stat, in
// milliseconds (the kernel counts in clock ticks, 10 ms here).
double cpu_milliseconds(pid_t pid);
// Each thread's CPU time so far, to the nanosecond, from
// /proc/<pid>/task/*/schedstat, in milliseconds, by thread id.
using ThreadTimes = std::map<pid_t, double>;
ThreadTimes thread_cpu_milliseconds(pid_t pid);
// The CPU time spent between two such readings: a thread that began in
// between counts in full; one that ended in between is not seen at all, as
// if it had never been (Qt's pooled threads end after 30 s idle).
double cpu_milliseconds_between(const ThreadTimes& before, const ThreadTimes& after);
// A "Key:   1234 kB" value of /proc/<pid>/status, in KiB (VmHWM, VmRSS).
long status_kib(pid_t pid, std::string_view key);
// The number of entries in /proc/<pid>/fd.
int open_descriptors(pid_t pid);

// The parsers behind them, for a file's text.

// utime + stime, in clock ticks, from the text of /proc/<pid>/stat. The
// command name in parentheses may hold blanks and parentheses itself.
std::uint64_t parse_cpu_ticks(std::string_view stat);
// The value of `key` in the text of /proc/<pid>/status; throws
// std::runtime_error when it is not there.
long parse_status_kib(std::string_view status, std::string_view key);

}  // namespace bench
