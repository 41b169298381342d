#include "server/request_handler.h"

#include "server_fixture.h"

namespace {

using server_test::Lines;

class RequestHandlerTest : public server_test::ServerTest {};

TEST_F(RequestHandlerTest, OnlyTheExactKeywordsActStatusOnTheTransmitPortTheOthersAsTheButtons) {
    const auto lines_before = window().STATUS_LIST.count();
    for (const std::string text : {"status", " STATUS", "STAT", "", "HELLO!"}) {
        request("10.1.1.1", {text});
    }
    EXPECT_EQ(window().STATUS_LIST.count(), lines_before);
    EXPECT_TRUE(talker().calls.empty());
    EXPECT_EQ(window().NUM_CLIENTS_LABEL.caption(), " 1");  // recorded all the same
    EXPECT_EQ(metrics({"request", "clients"}),
              (Lines{"clients 1", "request status", "clients 1", "request  STATU", "clients 1",
                     "request STAT", "clients 1", "request ", "clients 1", "request HELLO!"}));

    request("192.168.7.20", {"STATUS\r\n"});
    EXPECT_EQ(window().NUM_CLIENTS_LABEL.caption(), " 2");
    EXPECT_EQ(log_line(2), "     Status report was requested");
    EXPECT_EQ(log_line(3), "     (IP:192.168.7.20)");
    EXPECT_EQ(talker().calls,
              (Lines{"Close", "RemotePort 3001", "RemoteHost 192.168.7.20", "Connect"}));
    EXPECT_EQ(form1->talker().TALKER_MODE(), 1);

    // Connect and disconnect run the buttons' handlers, as a client's.
    fake.navigator.connection = 1;
    request("10.1.1.2", {"CONNECT"});
    EXPECT_EQ(log_line(2), "     Already connected to ISP");
    EXPECT_EQ(log_line(5), "     Connect was requested");
    EXPECT_EQ(log_line(6), "     (IP:10.1.1.2)");

    request("10.1.1.3", {"DISCONNECT"});
    EXPECT_EQ(log_line(2), "     Local command: DISCONNECT");
    EXPECT_EQ(log_line(5), "     Disconnect was requested");
    EXPECT_EQ(fake.navigator.hang_ups(), 1);
    EXPECT_EQ(window().NUM_CLIENTS_LABEL.caption(), " 4");

    fake.navigator.connection = 2;
    request("10.1.1.3", {"CONNEC"});
    EXPECT_EQ(fake.navigator.dials(), 1);
    EXPECT_EQ(
        metrics({"request", "clients", "dial", "hangup"}),
        (Lines{"clients 2", "request STATUS", "clients 3", "request CONNEC", "clients 4",
               "request DISCON", "hangup client", "clients 4", "request CONNEC", "dial client"}));
}

TEST_F(RequestHandlerTest, MessagesAreAppendedBlockAfterBlockUntilTheWindowCloses) {
    request("10.1.1.4", {"MESSAGhello\r\nthere"});
    request("10.1.1.5", {"MESSAG"});
    ASSERT_NE(form1->received_messages().form(), nullptr);
    const std::string hyphens = " " + std::string(105, '-');
    EXPECT_EQ(form1->received_messages().form()->MESSAGES_LIST.text(),
              " Received at 09:05pm from IP Address 10.1.1.4...\r\n  hello\r\nthere\r\n" + hyphens +
                  " Received at 09:05pm from IP Address 10.1.1.5...\r\n  \r\n" + hyphens);
    EXPECT_EQ(log_line(2), "     Message received from client");
    EXPECT_EQ(metrics({"request"}), (Lines{"request MESSAG", "request MESSAG"}));
    EXPECT_EQ(fake.tray.icon, "dish_message");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... message received");
    EXPECT_TRUE(fake.tray.attention);

    // Closing the window discards them and restores the tray.
    form1->received_messages().form()->close_requested();
    EXPECT_EQ(form1->received_messages().form(), nullptr);
    EXPECT_EQ(fake.tray.icon, "dish_server_running");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... getting DPC status");
    EXPECT_FALSE(fake.tray.attention);

    request("10.1.1.4", {"MESSAGsecond"});
    const std::string text = form1->received_messages().form()->MESSAGES_LIST.text();
    EXPECT_EQ(text.find("hello"), std::string::npos);
    EXPECT_NE(text.find("second"), std::string::npos);
}

TEST_F(RequestHandlerTest, RequestsWithoutAnAddressOrBeyondTheTableAreServedButNotCounted) {
    // A client that reset its connection before it was served has no address.
    for (int i = 0; i < 3; ++i) {
        form1->PROCESS_DATA("STATUS", "");
    }
    EXPECT_EQ(window().NUM_CLIENTS_LABEL.caption(), " 0");
    EXPECT_EQ(log_line(2), "     Status report was requested");
    for (int i = 0; i < 51; ++i) {
        form1->PROCESS_DATA("HELLO", "10.2.0." + std::to_string(i));
    }
    EXPECT_EQ(form1->clients().CLIENT_IP_TABLE(0), "10.2.0.0");
    form1->PROCESS_DATA("STATUS", "10.2.1.1");
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 51);
    EXPECT_EQ(window().NUM_CLIENTS_LABEL.caption(), " 51");
    EXPECT_EQ(last_metric({"clients"}), "clients 51");
    EXPECT_EQ(log_line(3), "     (IP:10.2.1.1)");
    EXPECT_EQ(talker().remote_host, "10.2.1.1");
}

}  // namespace
