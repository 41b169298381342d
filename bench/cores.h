#pragma once

#include <sched.h>
#include <sys/types.h>

#include <vector>

namespace bench {

// The cores that `pid` (0: the calling thread) may run on, in order.
std::vector<int> allowed_cores(pid_t pid = 0);

// The servers that the benchmark compares as programs of their own run on
// one core, the last this process may use; their clients run on another,
// the first, so that the two do not take turns (the same core on a machine
// with one).
int server_core();
int client_core();

// Pins the calling thread to one core while it lives, then gives it back
// the cores it had.
class PinnedThread {
  public:
    explicit PinnedThread(int core);
    PinnedThread(const PinnedThread&) = delete;
    PinnedThread& operator=(const PinnedThread&) = delete;
    ~PinnedThread();

  private:
    cpu_set_t before_;
};

}  // namespace bench
