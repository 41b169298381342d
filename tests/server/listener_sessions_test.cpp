#include "server/listener_sessions.h"

#include "server_fixture.h"

namespace {

using platform::Winsock;
using server_test::Lines;

using ListenerSessionsTest = server_test::ServerTest;

TEST_F(ListenerSessionsTest, ClientsBeyondTheSessionsAreToldAndTurnedAway) {
    for (long id = 1; id <= 9; ++id) {
        listener().connection_request(id);
    }
    EXPECT_EQ(last_metric({"sessions"}), "sessions 9");
    element(10).remote_host_ip = "10.4.0.10";
    const int polls = fake.events.calls;
    listener().connection_request(10);
    EXPECT_EQ(element(10).sent,
              Lines{"MAXIMUM CONCURRENT SESSIONS REACHED - TERMINATING SESSION.\r\n"});
    EXPECT_EQ(element(10).calls, (Lines{"Accept 10", "SendData", "Close"}));
    EXPECT_EQ(fake.events.calls, polls + 1);
    EXPECT_EQ(log_line(2), "     Cant accept any more connections!");
    EXPECT_EQ(log_line(3), "     (IP:10.4.0.10)");
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(element(i).state, Winsock::sckConnected);
    }

    // Clients turned away that talk while the notice goes out: none is a
    // session, and what one sends never counts against the next.
    for (long id = 11; id <= 16; ++id) {
        fake.events.pending = [&] {
            element(10).incoming = "STATUS" + std::string(30000, 'x');
            element(10).data_arrival(30006);
            if (id == 11) {
                element(10).closed();
            }
        };
        listener().connection_request(id);
        EXPECT_TRUE(form1->listeners().WS_LISTENER_SCKDATA(10).empty());
    }
    EXPECT_EQ(element(10).sent.size(), 7U);
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 0);
    // Turned away, never a session: the sessions stay at nine.
    EXPECT_EQ(metrics({"session", "sessions", "request"}), Lines(7, "session refused"));

    // Still telling an earlier client, or not loaded at all: refused quietly.
    element(10).state = Winsock::sckConnected;
    const auto lines = window().STATUS_LIST.count();
    listener().connection_request(17);
    EXPECT_EQ(element(10).accepted.back(), 16);
    EXPECT_EQ(window().STATUS_LIST.count(), lines);
    EXPECT_TRUE(fake.metrics.calls.empty());
    for (int i = 10; i >= 1; --i) {
        form1->listeners().Unload(i);
    }
    EXPECT_NO_THROW(listener().connection_request(18));
}

TEST_F(ListenerSessionsTest, ShutdownWhileTheNoticeGoesOutEndsTheOverflowPath) {
    for (long id = 1; id <= 9; ++id) {
        listener().connection_request(id);
    }
    // A termination signal handled among the pending events destroys the
    // elements; the overflow element must not be touched after that.
    fake.events.pending = [&] { form1->window().close_requested(); };
    const auto lines = window().STATUS_LIST.count();
    listener().connection_request(10);
    EXPECT_EQ(form1->listeners().UBound(), 0);
    EXPECT_EQ(window().STATUS_LIST.count(), lines);
}

TEST_F(ListenerSessionsTest, RequestInPiecesIsProcessedOnceWhenTheClientCloses) {
    request("10.4.0.1", {"ST", "AT", "US"});
    EXPECT_EQ(log_line(2), "     Status report was requested");
    EXPECT_EQ(element(1).state, Winsock::sckClosed);
    EXPECT_EQ(form1->listeners().WS_LISTENER_SCKDATA(1), "");

    request("10.4.0.2", {});  // connect and close without a word
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 2);
    EXPECT_EQ(metrics({"sessions"}),
              (Lines{"sessions 1", "sessions 0", "sessions 1", "sessions 0"}));
}

TEST_F(ListenerSessionsTest, BrokenElementIsNotReusedUntilTheCloserTimerRuns) {
    listener().connection_request(1);
    element(1).incoming = "STATUS";
    element(1).data_arrival(6);
    element(1).state = Winsock::sckError;
    listener().connection_request(2);
    EXPECT_EQ(element(2).accepted, std::vector<long>{2});

    fake.timers.timers.at(1)->fire();  // the closer timer
    EXPECT_EQ(element(1).state, Winsock::sckClosed);
    EXPECT_EQ(form1->listeners().WS_LISTENER_SCKDATA(1), "");
    // Element 1 stays taken until the closer frees it; a sweep with
    // nothing to close tells nothing.
    EXPECT_EQ(metrics({"sessions"}), (Lines{"sessions 1", "sessions 2", "sessions 1"}));
    fake.timers.timers.at(1)->fire();
    EXPECT_TRUE(fake.metrics.calls.empty());
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 0);  // its text was never processed
    listener().connection_request(3);
    EXPECT_EQ(element(1).accepted, (std::vector<long>{1, 3}));
}

TEST_F(ListenerSessionsTest, SessionThatSendsTooMuchIsBrokenOffUnprocessed) {
    listener().connection_request(1);
    element(1).remote_host_ip = "10.4.0.66";
    const std::string chunk(16 * 1024, 'x');
    for (int i = 0; i < 5; ++i) {
        element(1).incoming = i == 0 ? "STATUS" + chunk : chunk;
        element(1).data_arrival(static_cast<long>(element(1).incoming.size()));
    }
    EXPECT_EQ(form1->listeners().WS_LISTENER_SCKDATA(1), "");
    listener().connection_request(2);  // element 1 counts as broken
    EXPECT_EQ(element(2).accepted, std::vector<long>{2});
    element(1).closed();
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 0);
    fake.timers.timers.at(1)->fire();
    EXPECT_EQ(element(1).state, Winsock::sckClosed);

    request("10.4.0.1", {"STATUS" + std::string(60000, ' ')});  // under the limit: served
    EXPECT_EQ(log_line(2), "     Status report was requested");
}

}  // namespace
