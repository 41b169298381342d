#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_metrics.h"
#include "platform/events.h"
#include "platform/failure.h"
#include "platform/forms.h"
#include "platform/posix/posix_winsock.h"
#include "server/listener_sessions.h"
#include "server/listener_sockets.h"
#include "support/engine_loop.h"
#include "support/raw_client.h"
#include "ui/status_log.h"

namespace {

using test_support::RawClient;
using Requests = std::vector<std::pair<std::string, std::string>>;

long open_descriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

// Letting pending events run is one pass of the socket engine.
class EngineEvents : public platform::Events {
  public:
    explicit EngineEvents(platform::posix::SocketEngine& engine) : engine_(engine) {}
    void do_events() override { engine_.dispatch(); }
    void sleep_for(std::chrono::milliseconds) override {}

  private:
    platform::posix::SocketEngine& engine_;
};

// The server's receiving side on real sockets at 127.0.0.1: the listener and
// ten more elements, as start-up loads them, with the closer timer run by
// the test.
class ListenerOnSocketsTest : public ::testing::Test {
  protected:
    ListenerOnSocketsTest() {
        sockets.WS_LISTENER(0).set_LocalPort(static_cast<std::int16_t>(port));
        sockets.WS_LISTENER(0).Listen();
        for (int i = 1; i <= 10; ++i) {
            sockets.Load(i);
        }
    }

    // Runs the program's loop, with the closer timer's sweep between passes.
    template <typename Condition>
    bool run_until(Condition condition, int milliseconds = test_support::patience_ms) {
        return test_support::run_until(
            engine,
            [&] {
                sessions.SOCKET_CLOSER_TIMER_Timer();
                return condition();
            },
            milliseconds);
    }
    void run_for(int milliseconds) {
        run_until([] { return false; }, milliseconds);
    }

    platform::posix::SocketEngine engine;
    platform::posix::PosixNetwork network{engine};
    EngineEvents events{engine};
    fakes::FakeClock clock;
    platform::Form form{"Form1"};
    platform::ListBox list{form, "STATUS_LIST"};
    ui::StatusLog log{list, clock};
    server::ListenerSockets sockets{network};
    Requests processed;
    fakes::FakeMetrics metrics;
    server::ListenerSessions sessions{sockets,
                                      log,
                                      events,
                                      clock,
                                      metrics,
                                      [this](const std::string& data, const std::string& address) {
                                          processed.emplace_back(data, address);
                                      }};
    std::uint16_t port = test_support::free_port();
};

TEST_F(ListenerOnSocketsTest, RequestsAreProcessedInTheOrderTheirConnectionsClose) {
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<std::unique_ptr<RawClient>> clients;
        for (int i = 0; i < 4; ++i) {
            clients.push_back(std::make_unique<RawClient>(port));
        }
        run_for(10);  // all four are sessions now
        processed.clear();
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(clients[static_cast<std::size_t>(i)]->send("MESSAG" + std::to_string(i)));
            clients[static_cast<std::size_t>(i)]->close();
        }
        ASSERT_TRUE(run_until([&] { return processed.size() == 4; }));
        EXPECT_EQ(processed, (Requests{{"MESSAG0", "127.0.0.1"},
                                       {"MESSAG1", "127.0.0.1"},
                                       {"MESSAG2", "127.0.0.1"},
                                       {"MESSAG3", "127.0.0.1"}}))
            << "trial " << trial;
    }
}

TEST_F(ListenerOnSocketsTest, ABigSenderIsCutOffWhileOthersAreServed) {
    RawClient big(port);
    ASSERT_TRUE(big.connected());
    std::atomic<bool> sending{true};
    std::thread flood([&] {
        const std::string chunk(1 << 20, 'x');
        for (int mebibyte = 0; mebibyte < 10 && big.send(chunk); ++mebibyte) {
        }
        big.shut_output();
        sending = false;
    });
    run_for(50);
    RawClient small(port);
    ASSERT_TRUE(small.send("STATUS"));
    small.close();
    const bool served = run_until([&] { return processed.size() == 1; });
    run_until([&] { return !sending; }, 20000);
    flood.join();
    ASSERT_TRUE(served);
    run_for(300);
    EXPECT_EQ(processed, (Requests{{"STATUS", "127.0.0.1"}}));
    EXPECT_EQ(sockets.WS_LISTENER_SCKDATA(1), "") << "nothing of it kept";
}

// A client from address to port at `to`, both this machine's loopback
// addresses; -1 with errno set if it cannot connect.
int client_from(const char* address, std::uint16_t port, const char* to = "127.0.0.1") {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    ::inet_pton(AF_INET, to, &remote.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

TEST_F(ListenerOnSocketsTest, OnlyAllowedClientsAreServedAndRefusalsLoggedOnceAMinute) {
    sessions.only_talk_to(server::ClientFilter({*util::parse_ipv4_block("127.0.0.1/32")}));
    // Another address's block in between forgets only addresses quiet for a minute.
    for (const char* from : {"127.0.0.2", "127.0.0.2", "127.0.0.3", "127.0.0.2"}) {
        const int refused = client_from(from, port);
        ASSERT_GE(refused, 0);
        ASSERT_EQ(::send(refused, "DISCON", 6, MSG_NOSIGNAL), 6);
        ::shutdown(refused, SHUT_WR);
        // Closed at once, without a word.
        char byte = 0;
        ASSERT_TRUE(run_until([&] {
            const ssize_t count = ::recv(refused, &byte, 1, MSG_DONTWAIT);
            return count == 0 || (count < 0 && errno != EAGAIN);
        }));
        ::close(refused);
    }
    RawClient allowed(port);
    ASSERT_TRUE(allowed.send("STATUS"));
    allowed.close();
    ASSERT_TRUE(run_until([&] { return processed.size() == 1; }));
    EXPECT_EQ(processed, (Requests{{"STATUS", "127.0.0.1"}}));
    EXPECT_EQ(std::count(metrics.calls.begin(), metrics.calls.end(), "client not allowed"), 4);
    const auto blocks = [this] {
        return std::count(list.items().begin(), list.items().end(), "     (IP:127.0.0.2)");
    };
    EXPECT_EQ(blocks(), 1) << "one block a minute for an address";
    clock.advance(std::chrono::minutes(1));
    const int again = client_from("127.0.0.2", port);
    ASSERT_TRUE(run_until([&] { return blocks() == 2; }));
    ::close(again);
    EXPECT_EQ(list.item(6), "     Refused a client not allowed");
}

TEST(ListenerAddressTest, AListenerOnOneAddressDoesNotAnswerOnAnother) {
    platform::posix::SocketEngine engine;
    platform::posix::PosixNetwork network{engine};
    const auto listener = network.make_socket();
    const std::uint16_t port = test_support::free_port();
    listener->set_LocalPort(static_cast<std::int16_t>(port));
    EXPECT_THROW(listener->set_LocalAddress("localhost"), platform::Failure);
    listener->set_LocalAddress("127.0.0.1");
    listener->Listen();
    const int there = client_from("127.0.0.1", port);
    EXPECT_GE(there, 0);
    ::close(there);
    EXPECT_EQ(client_from("127.0.0.1", port, "127.0.0.2"), -1);
    EXPECT_EQ(errno, ECONNREFUSED);
}

TEST_F(ListenerOnSocketsTest, NoDescriptorIsLeftBehindByTenThousandConnections) {
    const long before = open_descriptors();
    constexpr int batch = 8;
    for (int served = 0; served < 10000; served += batch) {
        std::vector<std::unique_ptr<RawClient>> clients;
        for (int i = 0; i < batch; ++i) {
            clients.push_back(std::make_unique<RawClient>(port));
            ASSERT_TRUE(clients.back()->send("X"));
            clients.back()->close();
        }
        ASSERT_TRUE(run_until([&] { return processed.size() == static_cast<std::size_t>(batch); }))
            << served;
        processed.clear();
    }
    ASSERT_TRUE(run_until([&] { return network.closing() == 0; }));
    EXPECT_EQ(open_descriptors(), before);
}

}  // namespace
