#include "drive.h"

#include <gtest/gtest.h>

#include <thread>

namespace bench {
namespace {

using namespace std::chrono_literals;

// A server that processes requests on its own schedule: `backlog` of them
// once the clients are done, one per millisecond, then nothing more.
class LateServer final : public Server {
  public:
    explicit LateServer(int backlog) : backlog_(backlog) {}

    std::uint16_t port() const override { return 0; }
    std::uint64_t processed() const override { return processed_; }
    Clock::time_point last_processed_at() const override { return last_; }
    void serve_until(const std::function<bool()>& stop) override {
        while (!stop()) {
            std::this_thread::sleep_for(1ms);
            if (clients_done_ && backlog_ > 0) {
                --backlog_;
                ++processed_;
                last_ = Clock::now();
            }
        }
    }

    std::atomic<bool> clients_done_{false};

  private:
    int backlog_;
    std::uint64_t processed_ = 0;
    Clock::time_point last_;
};

TEST(DriveTest, WaitsForRequestsTakenBeforeTheyWereProcessed) {
    LateServer server(40);
    const auto driven = drive(
        server,
        [&] {
            server.clients_done_ = true;
            return 40;
        },
        [](int taken) { return static_cast<std::uint64_t>(taken); });
    EXPECT_EQ(driven.client, 40);
    EXPECT_EQ(driven.processed, 40u);
    // Forty milliseconds of processing at least, and no patience added.
    EXPECT_GE(driven.seconds, 0.035);
    EXPECT_LT(driven.seconds, 0.035 + std::chrono::duration<double>(catch_up_patience).count());
}

TEST(DriveTest, GivesUpOnRequestsThatNeverComeAndCountsOnlyThoseThatDid) {
    LateServer server(5);
    const auto start = Server::Clock::now();
    const auto driven = drive(
        server,
        [&] {
            server.clients_done_ = true;
            return 50;
        },
        [](int taken) { return static_cast<std::uint64_t>(taken); });
    EXPECT_EQ(driven.processed, 5u);
    EXPECT_LT(driven.seconds, 0.1) << "the time ends at the last processed request";
    EXPECT_LT(Server::Clock::now() - start, 2s);
}

TEST(DriveTest, ClientsFailingStopTheServerAndReachTheCaller) {
    LateServer server(0);
    EXPECT_THROW(drive(server,
                       []() -> int {
                           std::this_thread::sleep_for(10ms);
                           throw std::runtime_error("client failed");
                       }),
                 std::runtime_error);
}

TEST(DriveTest, NothingProcessedTakesNoTime) {
    LateServer server(0);
    const auto driven = drive(server, [] { return 0; });
    EXPECT_EQ(driven.processed, 0u);
    EXPECT_EQ(driven.seconds, 0.0);
}

}  // namespace
}  // namespace bench
