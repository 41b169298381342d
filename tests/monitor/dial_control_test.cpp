#include "monitor/dial_control.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_navigator.h"
#include "platform/forms.h"

namespace {

using Lines = std::vector<std::string>;
using Fault = void (*)(fakes::FakeNavigator&);

constexpr const char* separator = "     --------------------------------------";
constexpr const char* connect = "     Local command: CONNECT";
constexpr const char* disconnect = "     Local command: DISCONNECT";
constexpr const char* connected = "     Already connected to ISP";
constexpr const char* dialing = "     Already dialing the ISP";
constexpr const char* no_strength = "     Not enough signal strength";
constexpr const char* disconnected = "     Already disconnected from ISP";

// The handlers with the controls they use, at 9:05pm.
struct Rig {
    Rig() {
        label.set_caption("na");
        form.set_visible(true);
        clock.set_time(21, 5);
    }

    // The message lines of the blocks in the log, oldest first.
    Lines messages() const {
        Lines result;
        for (int i = list.count() - 1; i >= 0; --i) {
            if (list.item(i) != separator && list.item(i) != "     09:05pm") {
                result.push_back(list.item(i));
            }
        }
        return result;
    }

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

void none(fakes::FakeNavigator&) {}

TEST(DialControlTest, ConnectChecksTheLinkTwiceAndTheSignalBeforeDialling) {
    struct Case {
        std::deque<std::int16_t> connection;  // one value a read; the last stays
        std::int16_t signal;
        Fault fault;
        Lines messages;
        int reads;
    };
    const Case cases[] = {
        {{1}, 1, none, {connected}, 1},
        {{3}, 1, none, {dialing}, 2},
        {{2, 3}, 1, none, {dialing}, 2},  // the second read decides
        {{2}, 0, none, {connect, no_strength}, 2},
        // Disconnected, 0 or an unknown connection value; signal present,
        // absent (3) or unknown: all of these dial.
        {{2}, 1, none, {connect}, 2},
        {{2}, 3, none, {connect}, 2},
        {{0}, 1, none, {connect}, 2},
        {{7}, 9, none, {connect}, 2},
        // A failing first read acts as connected, a failing second one as
        // dialing, a failing signal read as no signal strength.
        {{2}, 1, [](fakes::FakeNavigator& n) { n.connection_fault.always(); }, {connected}, 1},
        {{2}, 1, [](fakes::FakeNavigator& n) { n.connection_fault.after(1); }, {dialing}, 2},
        {{2},
         1,
         [](fakes::FakeNavigator& n) { n.signal_fault.always(); },
         {connect, no_strength},
         2},
        {{2}, 1, [](fakes::FakeNavigator& n) { n.dial_fault.always(); }, {connect}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.connection) + " " + std::to_string(c.signal));
        Rig rig;
        rig.navigator.connection_reads = c.connection;
        rig.navigator.connection = c.connection.back();
        rig.navigator.signal = c.signal;
        c.fault(rig.navigator);
        EXPECT_NO_THROW(rig.dial.CONNECT_BUTTON_Click());
        EXPECT_EQ(rig.messages(), c.messages);
        EXPECT_EQ(rig.navigator.connection_reads_made(), c.reads);
        EXPECT_EQ(rig.navigator.signal_reads(), c.messages.front() == connect ? 1 : 0);
        // The last dial's time shows once the dial is tried, even if it fails.
        const bool dialled = c.messages == Lines{connect};
        EXPECT_EQ(rig.navigator.dials(), dialled ? 1 : 0);
        EXPECT_EQ(rig.label.caption(), dialled ? "9:05pm" : "na");
    }
}

TEST(DialControlTest, DisconnectHangsUpUnlessTheLinkIsDown) {
    struct Case {
        std::int16_t connection;
        Fault fault;
        const char* message;
    };
    const Case cases[] = {
        {2, none, disconnected},
        {1, none, disconnect},
        {3, none, disconnect},
        {0, none, disconnect},
        {2, [](fakes::FakeNavigator& n) { n.connection_fault.always(); }, disconnected},
        {1, [](fakes::FakeNavigator& n) { n.hang_up_fault.always(); }, disconnect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.connection);
        Rig rig;
        rig.navigator.connection = c.connection;
        c.fault(rig.navigator);
        EXPECT_NO_THROW(rig.dial.DISCONNECT_BUTTON_Click());
        EXPECT_EQ(rig.messages(), Lines{c.message});
        EXPECT_EQ(rig.navigator.hang_ups(), std::string(c.message) == disconnect ? 1 : 0);
        EXPECT_EQ(rig.navigator.signal_reads(), 0);
        EXPECT_EQ(rig.label.caption(), "na");
    }
}

TEST(DialControlTest, BothHandlersParkTheFocusFirstOrPassOverAFailingMove) {
    Rig rig;
    rig.navigator.connection = 1;
    rig.button.set_focus();
    rig.dial.CONNECT_BUTTON_Click();
    EXPECT_TRUE(rig.tab_stop.has_focus());
    rig.button.set_focus();
    rig.dial.DISCONNECT_BUTTON_Click();
    EXPECT_TRUE(rig.tab_stop.has_focus());

    Rig hidden;  // a hidden window cannot take the focus
    hidden.form.set_visible(false);
    hidden.dial.CONNECT_BUTTON_Click();
    hidden.navigator.connection = 1;
    hidden.dial.DISCONNECT_BUTTON_Click();
    EXPECT_EQ(hidden.navigator.dials(), 1);
    EXPECT_EQ(hidden.navigator.hang_ups(), 1);
}

}  // namespace
