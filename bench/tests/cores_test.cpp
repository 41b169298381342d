#include "cores.h"

#include <gtest/gtest.h>

namespace bench {
namespace {

TEST(CoresTest, AThreadPinnedToTheClientsCoreRunsThereAloneAndGetsItsCoresBack) {
    const std::vector<int> before = allowed_cores();
    const int clients = client_core();
    if (before.size() > 1) {
        EXPECT_NE(clients, server_core()) << "clients and servers would take turns on one core";
    }
    {
        const PinnedThread pinned(clients);
        EXPECT_EQ(allowed_cores(), std::vector<int>{clients});
    }
    EXPECT_EQ(allowed_cores(), before);
}

}  // namespace
}  // namespace bench
