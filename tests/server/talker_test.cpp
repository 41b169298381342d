#include "server/talker.h"

#include "server_fixture.h"

namespace {

using server_test::Lines;

using TalkerTest = server_test::ServerTest;

TEST_F(TalkerTest, StatusReplyIsTheCodeAndTheDialTimeWhenTheConnectionOpens) {
    request("10.3.0.1", {"STATUS"});
    // Both are read when the connection opens, not when the request came.
    fake.navigator.connection = 1;
    form1->GET_DPC_STATUS();
    window().TIME_LAST_ISP_CONNECT_LABEL.set_caption("9:05pm");
    talker_opened("10.3.0.1");
    EXPECT_EQ(talker().sent, Lines{"STATUS-CONNSIGOK9:05pm"});
    EXPECT_EQ(log_line(2), "     Sending data to a client");
    EXPECT_EQ(log_line(3), "     (IP:10.3.0.1)");
    EXPECT_EQ(form1->talker().TALKER_MODE(), 0);

    talker().send_complete();
    EXPECT_EQ(talker().calls.back(), "Close");
    talker_opened("10.3.0.1");  // with nothing left to send
    EXPECT_EQ(talker().sent.size(), 1U);
    EXPECT_EQ(metrics({"delivery"}), Lines{"delivery sent"});
}

TEST_F(TalkerTest, LaterRequestReplacesOneStillUnderWay) {
    request("10.3.0.1", {"STATUS"}, 1);
    request("10.3.0.2", {"STATUS"}, 2);
    EXPECT_EQ(talker().remote_host, "10.3.0.2");
    talker_opened("10.3.0.2");
    EXPECT_EQ(talker().sent.size(), 1U);

    // A request that comes while a reply is being sent starts a delivery
    // that the end of the earlier one must leave alone.
    request("10.3.0.3", {"STATUS"}, 3);
    fake.events.pending = [&] { request("10.3.0.4", {"STATUS"}, 4); };
    talker_opened("10.3.0.3");
    EXPECT_EQ(talker().remote_host, "10.3.0.4");
    EXPECT_EQ(form1->talker().TALKER_MODE(), 1);
    talker_opened("10.3.0.4");
    EXPECT_EQ(talker().sent.size(), 3U);
    EXPECT_EQ(log_line(3), "     (IP:10.3.0.4)");
    // The first, replaced before its connection opened, was never sent.
    EXPECT_EQ(metrics({"delivery"}), Lines(3, "delivery sent"));
}

TEST_F(TalkerTest, ErrorsAreLoggedAndNothingElse) {
    request("10.3.0.1", {"STATUS"});
    talker().error(10061, "refused");
    EXPECT_EQ(log_line(2), "     Error...");
    EXPECT_EQ(log_line(3), "      Sending data to client!");
    EXPECT_EQ(form1->talker().TALKER_MODE(), 1);  // left for the next start to reset

    // An address that cannot even be tried is reported the same way.
    talker().connect_fault.always();
    request("10.3.0.1", {"STATUS"});
    EXPECT_EQ(log_line(2), "     Error...");
    EXPECT_EQ(metrics({"delivery"}), Lines(2, "delivery error"));

    // A connection that breaks as the text is handed over was not sent.
    talker().connect_fault.never();
    talker().send_fault.always();
    request("10.3.0.1", {"STATUS"});
    talker_opened("10.3.0.1");
    EXPECT_EQ(metrics({"delivery"}), Lines{"delivery error"});
}

TEST_F(TalkerTest, SendStatusButtonGoesToTheFixedAddress) {
    window().SEND_STATUS_BUTTON.click();
    EXPECT_EQ(log_line(2), "     Send status button");
    EXPECT_EQ(log_line(3), "     (IP: 10.34.53.100)");
    EXPECT_EQ(talker().calls,
              (Lines{"Close", "RemotePort 3001", "RemoteHost 10.34.53.100", "Connect"}));
}

}  // namespace
