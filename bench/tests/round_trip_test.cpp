#include "round_trip.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "drive.h"
#include "epoll_baseline.h"
#include "net.h"

namespace bench {
namespace {

TEST(RoundTripTest, TimesEachRequestUntilItsReplyEnds) {
    const std::uint16_t reply_port = free_port_pair().listen;
    EpollBaseline server({.session_limit = 0, .reply_port = reply_port, .reply = "STATUS-X"});
    const auto driven = drive(server, [&] {
        return run_round_trips({server.port(), reply_port, 50, "STATUS", "STATUS-X"});
    });
    ASSERT_EQ(driven.client.size(), 50u);
    EXPECT_EQ(driven.processed, 50u);
    for (const double microseconds : driven.client) {
        EXPECT_GT(microseconds, 0);
        EXPECT_LT(microseconds, 5e6);
    }
}

TEST(RoundTripTest, AWrongReplyStopsTheRun) {
    const std::uint16_t reply_port = free_port_pair().listen;
    EpollBaseline server({.session_limit = 0, .reply_port = reply_port, .reply = "STATUS-Y"});
    EXPECT_THROW(
        drive(server,
              [&] {
                  return run_round_trips({server.port(), reply_port, 5, "STATUS", "STATUS-X"});
              }),
        std::runtime_error);
}

TEST(RoundTripTest, NoReplyIsATimeoutNotAHang) {
    // The server replies elsewhere, so nothing comes to our port.
    const std::uint16_t reply_port = free_port_pair().listen;
    const std::uint16_t elsewhere = free_port_pair().listen;
    EpollBaseline server({.session_limit = 0, .reply_port = elsewhere, .reply = "STATUS-X"});
    EXPECT_THROW(drive(server,
                       [&] {
                           return run_round_trips({server.port(), reply_port, 1, "STATUS",
                                                   "STATUS-X", std::chrono::milliseconds(300)});
                       }),
                 std::runtime_error);
}

}  // namespace
}  // namespace bench
