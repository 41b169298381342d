#include "messaging/send_message.h"

#include "../server/server_fixture.h"

namespace {

using server_test::Lines;

class SendMessageTest : public server_test::ServerTest {
  protected:
    messaging::SendMessageForm& open() {
        window().SEND_MESSAGE_BUTTON.click();
        return *form1->send_message().form();
    }
    // Opens the window and sends text to 10.5.0.9.
    messaging::SendMessageForm& send(const std::string& text) {
        auto& form = open();
        form.CLIENT_IP_ADDRESSES_COMBO_BOX.typed("10.5.0.9");
        form.MESSAGE_TEXT.typed(text);
        form.SEND_THE_MESSAGE_BUTTON.click();
        return form;
    }
};

TEST_F(SendMessageTest, AddressListHoldsTheRecordedClientsAndAnEmptyAddressDoesNothing) {
    auto& empty = open();
    EXPECT_TRUE(empty.CLIENT_IP_ADDRESSES_COMBO_BOX.items().empty());
    const auto lines = window().STATUS_LIST.count();
    empty.SEND_THE_MESSAGE_BUTTON.click();
    EXPECT_EQ(window().STATUS_LIST.count(), lines);
    EXPECT_TRUE(talker().calls.empty());
    empty.close_requested();

    for (const char* address : {"10.5.0.1", "10.5.0.2", "10.5.0.3"}) {
        form1->PROCESS_DATA("HELLO", address);
    }
    auto& form = open();
    EXPECT_EQ(form.CLIENT_IP_ADDRESSES_COMBO_BOX.items(),
              (Lines{"10.5.0.1", "10.5.0.2", "10.5.0.3"}));
    EXPECT_TRUE(window().TAB_STOP_ZERO.has_focus());

    // An address seen while the window is open shows only when it opens
    // again; the open window only comes forward.
    form1->PROCESS_DATA("HELLO", "10.5.0.4");
    open();
    EXPECT_EQ(form.CLIENT_IP_ADDRESSES_COMBO_BOX.items().size(), 3U);
    EXPECT_EQ(fake.desktop.calls.back(), "front SEND_MESSAGE_FORM");
}

TEST_F(SendMessageTest, MessageGoesToPort2519AndClosesTheWindowOnceSent) {
    auto& form = send("caf\u00E9 \u20AC5");
    EXPECT_EQ(log_line(2), "     Sending a message to Clients");
    EXPECT_EQ(talker().calls,
              (Lines{"Close", "RemotePort 2519", "RemoteHost 10.5.0.9", "Connect"}));
    EXPECT_NE(form1->send_message().form(), nullptr);  // stays open meanwhile

    form.MESSAGE_TEXT.typed("second thoughts");  // the press took the text
    talker_opened();
    EXPECT_EQ(talker().sent, Lines{"MESSAGcaf\xE9 \x80"
                                   "5"});  // in the code page
    EXPECT_EQ(form1->send_message().form(), nullptr);
    EXPECT_EQ(form1->talker().TALKER_MODE(), 0);
    EXPECT_EQ(metrics({"delivery"}), Lines{"delivery sent"});
}

TEST_F(SendMessageTest, PendingMessageKeepsItsTextWhenItsWindowClosesAndLeavesANewOneAlone) {
    send("keep me").close_requested();  // before the connection opens

    auto& second = open();
    EXPECT_TRUE(second.MESSAGE_TEXT.text().empty());
    second.MESSAGE_TEXT.typed("a new message");
    talker_opened();
    EXPECT_EQ(talker().sent, Lines{"MESSAGkeep me"});
    EXPECT_EQ(talker().remote_host, "10.5.0.9");
    ASSERT_EQ(form1->send_message().form(), &second);
    EXPECT_EQ(second.MESSAGE_TEXT.text(), "a new message");
}

TEST_F(SendMessageTest, StatusRequestArrivingMeanwhileWinsAndTheWindowStays) {
    send("hello");
    request("10.5.0.10", {"STATUS"});
    talker_opened();
    EXPECT_EQ(talker().sent, Lines{"STATUS-DISCSIGOKna"});
    EXPECT_NE(form1->send_message().form(), nullptr);
}

}  // namespace
