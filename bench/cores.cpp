#include "cores.h"

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace bench {

namespace {

cpu_set_t affinity(pid_t pid) {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(pid, sizeof set, &set) != 0) {
        throw std::system_error(errno, std::generic_category(), "sched_getaffinity");
    }
    return set;
}

}  // namespace

std::vector<int> allowed_cores(pid_t pid) {
    const cpu_set_t set = affinity(pid);
    std::vector<int> cores;
    for (int core = 0; core < CPU_SETSIZE; ++core) {
        if (CPU_ISSET(core, &set)) {
            cores.push_back(core);
        }
    }
    return cores;
}

int server_core() {
    return allowed_cores().back();
}

int client_core() {
    return allowed_cores().front();
}

PinnedThread::PinnedThread(int core) : before_(affinity(0)) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(core, &one);
    if (::sched_setaffinity(0, sizeof one, &one) != 0) {
        throw std::system_error(errno, std::generic_category(), "sched_setaffinity");
    }
}

PinnedThread::~PinnedThread() {
    ::sched_setaffinity(0, sizeof before_, &before_);
}

}  // namespace bench
