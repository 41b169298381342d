#include "server_process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <stdexcept>

#include "cores.h"

namespace bench {
namespace {

// Both servers as programs of their own, pinned, measured from outside.
void expect_served_on_one_core(ServerProcess& server, int core) {
    EXPECT_EQ(allowed_cores(server.pid()), std::vector<int>{core});
    const Measured load = server.load(4, 200);
    EXPECT_EQ(load.client.taken, 200);
    EXPECT_EQ(load.processed, 200u);
    // The time runs on to the status reply that follows the requests.
    EXPECT_GT(load.seconds, load.client.seconds);
    EXPECT_EQ(server.round_trips(5).size(), 5u);
}

TEST(ServerProcessTest, OrvantaRunsPinnedInItsFolderServesAndEndsCleanlyOnSigterm) {
    const int core = server_core();
    const auto orvanta = ServerProcess::orvanta(core, 32767);
    expect_served_on_one_core(*orvanta, core);
    const pid_t pid = orvanta->pid();
    orvanta->stop();
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH) << "stopped, and reaped";
}

TEST(ServerProcessTest, TheBaselineServesTheSameWayAndAKilledServerIsNoCleanEnd) {
    const int core = server_core();
    const auto baseline = ServerProcess::baseline(core);
    expect_served_on_one_core(*baseline, core);
    ::kill(baseline->pid(), SIGKILL);
    EXPECT_THROW(baseline->stop(), std::runtime_error);
}

}  // namespace
}  // namespace bench
