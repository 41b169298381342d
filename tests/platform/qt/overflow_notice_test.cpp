#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_winsock.h"
#include "server/listener_sessions.h"
#include "server/listener_sockets.h"
#include "support/raw_client.h"
#include "ui/status_log.h"

namespace {

using platform::Winsock;
using test_support::RawClient;
using test_support::wait_for;

// The receiving side of the server on real sockets, loaded as start-up
// loads it: element 0 listening on a free port, elements 1 to 10 beside it.
struct Server {
    platform::qt::QtNetwork network;
    server::ListenerSockets sockets{network};
    platform::Form form{"Form1"};
    platform::ListBox log_lines{form, "STATUS_LIST"};
    platform::qt::QtClock clock;
    ui::StatusLog log{log_lines, clock};
    platform::qt::QtEvents events;
    std::vector<std::string> processed;
    server::ListenerSessions sessions{
        sockets, log, events,
        [this](const std::string& data, const std::string&) { processed.push_back(data); }};

    Server() {
        sockets.WS_LISTENER(0).set_LocalPort(0);
        sockets.WS_LISTENER(0).Listen();
        for (int i = 1; i <= 10; ++i) {
            sockets.Load(i);
        }
    }
    std::uint16_t port() {
        return static_cast<platform::qt::QtWinsock&>(sockets.WS_LISTENER(0)).local_port();
    }
    bool sessions_busy(int count) {
        for (int i = 1; i <= count; ++i) {
            if (sockets.WS_LISTENER(i).State() != Winsock::sckConnected) {
                return false;
            }
        }
        return true;
    }
};

TEST(OverflowNoticeTest, EveryClientTurnedAwayReadsTheWholeNoticeAndAnOrderlyEnd) {
    Server server;
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int i = 0; i < 9; ++i) {
        silent.push_back(std::make_unique<RawClient>(server.port()));
    }
    ASSERT_TRUE(wait_for([&] { return server.sessions_busy(9); }));

    // Each has its request sent before it reads; together they send far more
    // than one session may.
    const std::string request = "STATUS" + std::string(30000 - 6, 'x');
    for (int client = 0; client < 6; ++client) {
        RawClient turned_away(server.port());
        ASSERT_TRUE(turned_away.connected());
        ASSERT_TRUE(turned_away.send(request));
        ASSERT_TRUE(turned_away.wait_for_end()) << "client " << client;
        EXPECT_EQ(turned_away.received(), server::ListenerSessions::overflow_notice)
            << "client " << client;
        EXPECT_FALSE(turned_away.reset()) << "client " << client;
    }
    EXPECT_TRUE(server.processed.empty());
    EXPECT_EQ(server.log_lines.item(2), "     Cant accept any more connections!");
    EXPECT_TRUE(server.sessions_busy(9));
}

}  // namespace
