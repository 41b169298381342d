#include "monitor/dial_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_navigator.h"
#include "platform/forms.h"

namespace {

constexpr const char* separator = "     --------------------------------------";

class DialControlTest : public ::testing::Test {
  protected:
    DialControlTest() {
        label.set_caption("na");
        form.set_visible(true);
        clock.set_time(21, 5);
    }

    // The message lines of the blocks in the log, oldest first.
    std::vector<std::string> messages() const {
        std::vector<std::string> result;
        for (int i = list.count() - 1; i >= 0; --i) {
            const auto& line = list.item(i);
            if (line != separator && line != "     09:05pm") {
                result.push_back(line);
            }
        }
        return result;
    }

    using Lines = std::vector<std::string>;

    platform::Form form{"Form1"};
    platform::CommandButton tab_stop{form, "TAB_STOP_ZERO"};
    platform::PictureButton button{form, "CONNECT_BUTTON"};
    platform::ListBox list{form, "STATUS_LIST"};
    platform::Label label{form, "TIME_LAST_ISP_CONNECT_LABEL"};
    fakes::FakeClock clock;
    fakes::FakeNavigator navigator;
    ui::StatusLog log{list, clock};
    monitor::DialControl dial{navigator, log, tab_stop, label, clock};
};

TEST_F(DialControlTest, ConnectWhileConnectedIsRefused) {
    navigator.connection = 1;
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(messages(), Lines{"     Already connected to ISP"});
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(navigator.connection_reads_made(), 1);
    EXPECT_EQ(navigator.signal_reads(), 0);
    EXPECT_EQ(navigator.dials(), 0);
    EXPECT_EQ(label.caption(), "na");
}

TEST_F(DialControlTest, ConnectWhileDialingReadsTheConnectionTwice) {
    navigator.connection = 3;
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(messages(), Lines{"     Already dialing the ISP"});
    EXPECT_EQ(navigator.connection_reads_made(), 2);
    EXPECT_EQ(navigator.dials(), 0);

    // The second read decides, not the first.
    navigator.connection_reads = {2, 3};
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(list.item(2), "     Already dialing the ISP");
    EXPECT_EQ(navigator.dials(), 0);
}

TEST_F(DialControlTest, ConnectWithoutSignalStrengthWritesTwoBlocksAndDoesNotDial) {
    navigator.connection = 2;
    navigator.signal = 0;
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(messages(),
              (Lines{"     Local command: CONNECT", "     Not enough signal strength"}));
    EXPECT_EQ(list.count(), 6);
    EXPECT_EQ(navigator.dials(), 0);
    EXPECT_EQ(label.caption(), "na");
}

TEST_F(DialControlTest, ConnectDialsForAnyOtherStateAndSignal) {
    // Disconnected, 0 or an unknown connection value; signal present, absent
    // (3) or unknown: all of these dial.
    const std::pair<std::int16_t, std::int16_t> states[] = {{2, 1}, {2, 3}, {0, 1}, {7, 9}};
    int dials = 0;
    for (const auto& [connection, signal] : states) {
        SCOPED_TRACE(std::to_string(connection) + "/" + std::to_string(signal));
        navigator.connection = connection;
        navigator.signal = signal;
        label.set_caption("na");
        dial.CONNECT_BUTTON_Click();
        EXPECT_EQ(list.item(2), "     Local command: CONNECT");
        EXPECT_EQ(label.caption(), "9:05pm");
        EXPECT_EQ(navigator.dials(), ++dials);
    }
}

TEST_F(DialControlTest, LastDialLabelShowsTheHourWithoutLeadingZero) {
    clock.set_time(0, 30);
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(label.caption(), "12:30am");
    clock.set_time(7, 7);
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(label.caption(), "7:07am");
    EXPECT_EQ(list.item(1), "     07:07am");
}

TEST_F(DialControlTest, DisconnectIsRefusedOnlyWhenDisconnected) {
    navigator.connection = 2;
    dial.DISCONNECT_BUTTON_Click();
    EXPECT_EQ(messages(), Lines{"     Already disconnected from ISP"});
    EXPECT_EQ(navigator.hang_ups(), 0);

    for (const std::int16_t state : {1, 3, 0}) {
        navigator.connection = state;
        dial.DISCONNECT_BUTTON_Click();
        EXPECT_EQ(list.item(2), "     Local command: DISCONNECT");
    }
    EXPECT_EQ(navigator.hang_ups(), 3);
    EXPECT_EQ(navigator.signal_reads(), 0);
    EXPECT_EQ(label.caption(), "na");
}

TEST_F(DialControlTest, BothHandlersParkTheFocusFirst) {
    button.set_focus();
    navigator.connection = 1;
    dial.CONNECT_BUTTON_Click();
    EXPECT_TRUE(tab_stop.has_focus());

    button.set_focus();
    dial.DISCONNECT_BUTTON_Click();
    EXPECT_TRUE(tab_stop.has_focus());
}

TEST_F(DialControlTest, FailingFocusMoveIsPassedOver) {
    form.set_visible(false);  // a hidden window cannot take the focus
    navigator.connection = 2;
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(navigator.dials(), 1);
    navigator.connection = 1;
    dial.DISCONNECT_BUTTON_Click();
    EXPECT_EQ(navigator.hang_ups(), 1);
    EXPECT_FALSE(tab_stop.has_focus());
}

TEST_F(DialControlTest, FailingFirstReadActsAsConnected) {
    navigator.connection_fault.always();
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(messages(), Lines{"     Already connected to ISP"});
    EXPECT_EQ(navigator.connection_reads_made(), 1);
    EXPECT_EQ(navigator.signal_reads(), 0);
    EXPECT_EQ(navigator.dials(), 0);
}

TEST_F(DialControlTest, FailingSecondReadActsAsDialing) {
    navigator.connection = 2;
    navigator.connection_fault.after(1);
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(messages(), Lines{"     Already dialing the ISP"});
    EXPECT_EQ(navigator.connection_reads_made(), 2);
    EXPECT_EQ(navigator.dials(), 0);
}

TEST_F(DialControlTest, FailingSignalReadActsAsNoSignalStrength) {
    navigator.connection = 2;
    navigator.signal_fault.always();
    dial.CONNECT_BUTTON_Click();
    EXPECT_EQ(messages(),
              (Lines{"     Local command: CONNECT", "     Not enough signal strength"}));
    EXPECT_EQ(navigator.dials(), 0);
    EXPECT_EQ(label.caption(), "na");
}

TEST_F(DialControlTest, FailingDialStillLeavesTheLabelSet) {
    navigator.connection = 2;
    navigator.dial_fault.always();
    EXPECT_NO_THROW(dial.CONNECT_BUTTON_Click());
    EXPECT_EQ(messages(), Lines{"     Local command: CONNECT"});
    EXPECT_EQ(navigator.dials(), 1);
    EXPECT_EQ(label.caption(), "9:05pm");
}

TEST_F(DialControlTest, FailingReadOrHangUpInDisconnect) {
    navigator.connection_fault.always();
    dial.DISCONNECT_BUTTON_Click();
    EXPECT_EQ(messages(), Lines{"     Already disconnected from ISP"});
    EXPECT_EQ(navigator.hang_ups(), 0);

    navigator.connection_fault.never();
    navigator.connection = 1;
    navigator.hang_up_fault.always();
    EXPECT_NO_THROW(dial.DISCONNECT_BUTTON_Click());
    EXPECT_EQ(list.item(2), "     Local command: DISCONNECT");
    EXPECT_EQ(navigator.hang_ups(), 1);
}

}  // namespace
