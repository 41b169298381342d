#include "load_client.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <thread>

#include "drive.h"
#include "epoll_baseline.h"
#include "fd.h"
#include "net.h"

namespace bench {
namespace {

TEST(ClassifyTest, TellsTheEndingsApart) {
    EXPECT_EQ(classify("", false), Ending::Taken);
    EXPECT_EQ(classify("", true), Ending::Reset);
    EXPECT_EQ(classify("STATUS-DISCSIGOKna", false), Ending::Other);
    // The notice counts even when a reset followed it.
    EXPECT_EQ(classify(EpollBaseline::busy_notice, false), Ending::TurnedAway);
    EXPECT_EQ(classify(EpollBaseline::busy_notice, true), Ending::TurnedAway);
}

TEST(LoadTest, EveryRequestReachesTheServerAndIsCountedOnce) {
    EpollBaseline server({});
    const auto driven = drive(server, [&] { return run_load({server.port(), 8, 3000, "DISCON"}); });
    EXPECT_EQ(driven.client.taken, 3000);
    EXPECT_EQ(driven.client.total(), 3000);
    EXPECT_EQ(driven.processed, 3000u);
    EXPECT_GT(driven.client.seconds, 0);
}

TEST(LoadTest, ARefusedPortCountsAsResetAndEnds) {
    // Nobody listens on a port just found free.
    const std::uint16_t port = free_port_pair().listen;
    const LoadResult result = run_load({port, 4, 50, "DISCON"});
    EXPECT_EQ(result.reset, 50);
    EXPECT_EQ(result.total(), 50);
}

Fd hold_connection(std::uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = loopback(port);
    EXPECT_EQ(::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return fd;
}

TEST(LoadTest, ClientsBeyondTheSessionLimitSeeTheNoticeAndAreNotProcessed) {
    EpollBaseline server({.session_limit = 2, .reply_port = std::nullopt, .reply = {}});
    // Two clients that do not end their requests fill both sessions once
    // the server has taken them.
    const Fd first = hold_connection(server.port());
    const Fd second = hold_connection(server.port());
    const auto driven = drive(server, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return run_load({server.port(), 4, 40, "DISCON"});
    });
    EXPECT_EQ(driven.client.turned_away, 40);
    EXPECT_EQ(driven.processed, 0u);
    EXPECT_EQ(server.turned_away(), 40u);
}

TEST(EpollBaselineTest, ServesNoMoreSessionsThanItsLimitAtOnce) {
    EpollBaseline server({.session_limit = 2, .reply_port = std::nullopt, .reply = {}});
    std::atomic<bool> done{false};
    std::thread serving([&] { server.serve_until([&] { return done.load(); }); });
    std::vector<Fd> clients;
    std::string third;
    for (int i = 0; i < 3; ++i) {
        clients.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        const sockaddr_in address = loopback(server.port());
        ASSERT_EQ(::connect(clients.back().get(), reinterpret_cast<const sockaddr*>(&address),
                            sizeof address),
                  0);
        // One at a time, so that the server has taken each before the next.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    char buffer[128];
    const ssize_t got = ::recv(clients[2].get(), buffer, sizeof buffer, 0);
    done = true;
    serving.join();
    ASSERT_GT(got, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), EpollBaseline::busy_notice);
    EXPECT_EQ(server.turned_away(), 1u);
    EXPECT_EQ(server.processed(), 0u);
}

}  // namespace
}  // namespace bench
