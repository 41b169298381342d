#include "round_trip.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <stdexcept>

#include "cores.h"
#include "drive.h"
#include "epoll_baseline.h"
#include "load_client.h"
#include "net.h"

namespace bench {
namespace {

TEST(RoundTripTest, TimesEachRequestUntilItsReplyEndsAndOnlyStatusIsAnswered) {
    const std::uint16_t reply_port = free_port_pair().listen;
    EpollBaseline server({.session_limit = 0, .reply_port = reply_port, .reply = "STATUS-X"});
    {
        // As Orvanta, the baseline answers no other request.
        const Fd replies = listen_on_loopback(reply_port, 16, false);
        EXPECT_EQ(drive(
                      server,
                      [&] {
                          return run_load({server.port(), 2, 20, "DISCON"});
                      },
                      [](auto&) { return std::uint64_t{20}; })
                      .processed,
                  20u);
        pollfd entry{replies.get(), POLLIN, 0};
        EXPECT_EQ(::poll(&entry, 1, 50), 0) << "a DISCON request was answered";
    }
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

// Takes one request at a time, works on it for 2 ms after its end, then
// replies.
class SlowServer final : public Server {
  public:
    explicit SlowServer(std::uint16_t reply_port)
        : port_(free_port_pair().listen),
          listener_(listen_on_loopback(port_, 16, false)),
          reply_port_(reply_port) {}

    std::uint16_t port() const override { return port_; }
    std::uint64_t processed() const override { return processed_; }
    Clock::time_point last_processed_at() const override { return last_; }
    void serve_until(const std::function<bool()>& stop) override {
        while (!stop()) {
            pollfd entry{listener_.get(), POLLIN, 0};
            if (::poll(&entry, 1, 5) <= 0) {
                continue;
            }
            const Fd request(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
            char buffer[64];
            while (::recv(request.get(), buffer, sizeof buffer, 0) > 0) {
            }
            for (const auto until = Clock::now() + work; Clock::now() < until;) {
            }
            const Fd reply(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
            const sockaddr_in address = loopback(reply_port_);
            ::connect(reply.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
            send_all(reply.get(), "STATUS-X");
            ++processed_;
            last_ = Clock::now();
        }
    }

    static constexpr std::chrono::milliseconds work{2};

  private:
    std::uint16_t port_;
    Fd listener_;
    std::uint16_t reply_port_;
    std::uint64_t processed_ = 0;
    Clock::time_point last_;
};

// On one core, the request's end wakes the server, which may run at once,
// before the client has taken the time.
TEST(RoundTripTest, TheServersWorkCountsAlsoWhenItRunsBeforeTheClientContinues) {
    const PinnedThread server_and_clients(client_core());
    const std::uint16_t reply_port = free_port_pair().listen;
    SlowServer server(reply_port);
    const auto driven = drive(server, [&] {
        return run_round_trips({server.port(), reply_port, 20, "STATUS", "STATUS-X"});
    });
    for (const double microseconds : driven.client) {
        EXPECT_GE(microseconds, 1000.0 * SlowServer::work.count());
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
