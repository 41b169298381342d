// The dial and hang-up handlers and the status poll, on the main window.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_metrics.h"
#include "fakes/fake_navigator.h"
#include "fakes/fake_tray_icon.h"
#include "monitor/dial_control.h"
#include "monitor/status_poll.h"
#include "platform/failure.h"

namespace {

using Lines = std::vector<std::string>;
using Nav = fakes::FakeNavigator;
using Fault = void (*)(Nav&);

constexpr std::uint32_t green = 65280;
constexpr std::uint32_t red = 255;
constexpr const char* connect = "     Local command: CONNECT";
constexpr const char* disconnect = "     Local command: DISCONNECT";
constexpr const char* connected = "     Already connected to ISP";
constexpr const char* dialing = "     Already dialing the ISP";
constexpr const char* no_strength = "     Not enough signal strength";
constexpr const char* disconnected = "     Already disconnected from ISP";

// The handlers with the window they use, at 9:05pm.
struct Rig {
    Rig() {
        window.set_visible(true);
        clock.set_time(21, 5);
    }

    // The message lines of the blocks in the log, oldest first.
    Lines messages() const {
        Lines result;
        for (int i = window.STATUS_LIST.count() - 1; i >= 0; --i) {
            const std::string& line = window.STATUS_LIST.item(i);
            if (line != ui::StatusLog::separator && line != "     09:05pm") {
                result.push_back(line);
            }
        }
        return result;
    }

    std::string poll(std::int16_t signal, std::int16_t connection) {
        navigator.signal = signal;
        navigator.connection = connection;
        status_poll.GET_DPC_STATUS();
        return shown();
    }

    // Everything a poll shows, on one line: the code, the visible pictures
    // from bottom to top (the declaration order), the word, the lamp and the
    // tray.
    std::string shown() const {
        std::string pictures;
        for (const platform::Image* image :
             {&window.Dialing_Image, &window.No_Status_Image, &window.No_DPC_Card_Image,
              &window.Disconnected_Image, &window.Connected_Image, &window.No_Signal_Image}) {
            pictures += image->visible() ? image->name() + " " : "";
        }
        const std::uint32_t lamp = window.SIGNAL_QUALITY_LED.fill_color().value;
        return status_poll.DPC_STATUS_CODE() + " | " + pictures + "| " +
               window.DPC_Stat_Label.caption() + " | " +
               (lamp == green ? "green"
                : lamp == red ? "red"
                              : "?") +
               " | " + tray.icon + " | " + tray.tooltip + (tray.attention ? " | blinks" : "");
    }

    fakes::FakeNavigator navigator;
    fakes::FakeClock clock;
    fakes::FakeTrayIcon tray;
    fakes::FakeMetrics metrics;
    ui::MainWindow window;
    app::Settings settings;
    ui::StatusLog log{window.STATUS_LIST, clock};
    ui::TrayDisplay tray_display{tray};
    monitor::DialControl dial{
        navigator, log, window.TAB_STOP_ZERO, window.TIME_LAST_ISP_CONNECT_LABEL, clock, metrics};
    monitor::StatusPoll status_poll{navigator, log,      window, tray_display,
                                    dial,      settings, clock,  metrics};
};

void none(Nav&) {}

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
        {{2}, 1, [](Nav& n) { n.connection_fault.always(); }, {connected}, 1},
        {{2}, 1, [](Nav& n) { n.connection_fault.after(1); }, {dialing}, 2},
        {{2}, 1, [](Nav& n) { n.signal_fault.always(); }, {connect, no_strength}, 2},
        {{2}, 1, [](Nav& n) { n.dial_fault.always(); }, {connect}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.connection) + " " + std::to_string(c.signal));
        Rig rig;
        rig.navigator.connection_reads = c.connection;
        rig.navigator.connection = c.connection.back();
        rig.navigator.signal = c.signal;
        c.fault(rig.navigator);
        rig.window.CONNECT_BUTTON.set_focus();
        EXPECT_NO_THROW(rig.dial.CONNECT_BUTTON_Click());
        EXPECT_TRUE(rig.window.TAB_STOP_ZERO.has_focus());
        EXPECT_EQ(rig.messages(), c.messages);
        EXPECT_EQ(rig.navigator.connection_reads_made(), c.reads);
        EXPECT_EQ(rig.navigator.signal_reads(), c.messages.front() == connect ? 1 : 0);
        // The last dial's time shows once the dial is tried, even if it fails.
        const bool dialled = c.messages == Lines{connect};
        EXPECT_EQ(rig.navigator.dials(), dialled ? 1 : 0);
        EXPECT_EQ(rig.window.TIME_LAST_ISP_CONNECT_LABEL.caption(), dialled ? "9:05pm" : "na");
        // Counted when passed on, failing or not; a click is a local dial.
        EXPECT_EQ(rig.metrics.calls, dialled ? Lines{"dial local"} : Lines{});
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
        {2, [](Nav& n) { n.connection_fault.always(); }, disconnected},
        {1, [](Nav& n) { n.hang_up_fault.always(); }, disconnect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.connection);
        Rig rig;
        rig.navigator.connection = c.connection;
        c.fault(rig.navigator);
        rig.window.DISCONNECT_BUTTON.set_focus();
        EXPECT_NO_THROW(rig.dial.DISCONNECT_BUTTON_Click());
        EXPECT_TRUE(rig.window.TAB_STOP_ZERO.has_focus());
        EXPECT_EQ(rig.messages(), Lines{c.message});
        const bool hung_up = std::string(c.message) == disconnect;
        EXPECT_EQ(rig.navigator.hang_ups(), hung_up ? 1 : 0);
        EXPECT_EQ(rig.metrics.calls, hung_up ? Lines{"hangup local"} : Lines{});
        EXPECT_EQ(rig.navigator.signal_reads(), 0);
        EXPECT_EQ(rig.window.TIME_LAST_ISP_CONNECT_LABEL.caption(), "na");
    }
}

TEST(DialControlTest, BothHandlersPassOverAFocusThatCannotMove) {
    Rig hidden;  // a hidden window cannot take the focus
    hidden.window.set_visible(false);
    hidden.dial.CONNECT_BUTTON_Click();
    hidden.navigator.connection = 1;
    hidden.dial.DISCONNECT_BUTTON_Click();
    EXPECT_EQ(hidden.navigator.dials(), 1);
    EXPECT_EQ(hidden.navigator.hang_ups(), 1);
}

class StatusPollTest : public ::testing::Test, public Rig {};

TEST_F(StatusPollTest, EachClassifiedPairShowsItsWholeStateAndOthersOnlyTheLampOrNothing) {
    // The first poll, unclassified, leaves the code empty and the start word.
    window.DPC_Stat_Label.set_caption("NO STAT");
    window.No_Status_Image.set_visible(true);
    EXPECT_EQ(poll(1, 7), " | No_Status_Image | NO STAT | green |  | ");
    EXPECT_EQ(window.STATUS_LIST.item(2), "     DPC status collected");

    // Start from a state every row must overwrite.
    window.No_DPC_Card_Image.set_visible(true);
    struct Row {
        std::int16_t signal, connection;
        const char* shown;
        const char* link;  // connected, dialing, signal, as the metrics hear them
    };
    const Row rows[] = {
        {1, 1,
         "STATUS-CONNSIGOK | Connected_Image | ONLINE | green | dish_connected | "
         "Orvanta... Online - Internet available",
         "101"},
        {1, 2,
         "STATUS-DISCSIGOK | Disconnected_Image | OFFLINE | green | dish_disconnected | "
         "Orvanta... Offline - Internet not available",
         "001"},
        // Dialing with signal shows the connected picture drawn over the dialing one.
        {1, 3,
         "STATUS-DIALSIGOK | Dialing_Image Connected_Image | DIALING | green | "
         "dish_server_running | Orvanta... Dialing",
         "011"},
        // Without signal, a connection value of 0 reads as connected.
        {3, 0,
         "STATUS-CONNNOSIG | No_Signal_Image | ONLINE | red | dish_cloud | "
         "Orvanta... Internet not available - No Signal | blinks",
         "100"},
        {3, 1,
         "STATUS-CONNNOSIG | No_Signal_Image | ONLINE | red | dish_cloud | "
         "Orvanta... Internet not available - No Signal | blinks",
         "100"},
        {3, 2,
         "STATUS-DISCNOSIG | No_Signal_Image | OFFLINE | red | dish_cloud | "
         "Orvanta... Internet not available - No Signal | blinks",
         "000"},
        {3, 3,
         "STATUS-DIALSIGOK | Dialing_Image | DIALING | red | dish_cloud | "
         "Orvanta... No Signal - Dialing | blinks",
         "010"},
    };
    std::int64_t now = clock.unix_time();
    for (const Row& row : rows) {
        clock.advance(std::chrono::seconds(7));  // stamped with the time of the poll
        now += 7;
        metrics.calls.clear();
        const std::string shown = poll(row.signal, row.connection);
        EXPECT_EQ(shown, row.shown) << row.signal << row.connection;
        EXPECT_EQ(metrics.calls, Lines{std::string("link ") + row.link + " " + shown.substr(0, 16) +
                                       " " + std::to_string(now)});
    }

    const std::string online = poll(1, 1);
    std::string red_lamp = online;
    red_lamp.replace(red_lamp.find("green"), 5, "red");
    tray.calls.clear();
    metrics.calls.clear();
    const int reads = navigator.connection_reads_made();
    EXPECT_EQ(poll(3, 4), red_lamp);  // lamp red, the rest as it was
    EXPECT_EQ(poll(1, 0), online);
    EXPECT_EQ(poll(0, 1), online);  // no lamp change either
    EXPECT_EQ(poll(2, 2), online);
    EXPECT_EQ(navigator.connection_reads_made(), reads + 2);  // not read for signals 0 and 2
    EXPECT_TRUE(tray.calls.empty());
    EXPECT_TRUE(metrics.calls.empty());
}

TEST_F(StatusPollTest, KeepConnectedRedialsOnEveryPollThatFindsTheLinkDownWithSignal) {
    settings.KEEP_CONNECTED = true;
    for (int i = 1; i <= 2; ++i) {
        poll(1, 2);
        EXPECT_EQ(navigator.dials(), i);
    }
    EXPECT_EQ(metrics.calls.back(), "dial redial");
    // Newest first: the dial's block above the poll's.
    EXPECT_EQ(window.STATUS_LIST.item(2), "     Local command: CONNECT");
    EXPECT_EQ(window.STATUS_LIST.item(5), "     DPC status collected");
    EXPECT_EQ(window.STATUS_LIST.count(), 12);

    poll(3, 2);  // no signal: no redial
    poll(1, 1);
    EXPECT_EQ(navigator.dials(), 2);

    settings.KEEP_CONNECTED = false;
    poll(1, 2);
    EXPECT_EQ(navigator.dials(), 2);
}

TEST_F(StatusPollTest, LogWrittenBeforeTheNavigatorIsReadAndFailuresReachTheCaller) {
    navigator.signal_fault.always();
    EXPECT_THROW(status_poll.GET_DPC_STATUS(), platform::Failure);
    EXPECT_EQ(window.STATUS_LIST.count(), 3);

    navigator.signal_fault.never();
    navigator.connection_fault.always();
    navigator.signal = 3;
    EXPECT_THROW(status_poll.GET_DPC_STATUS(), platform::Failure);
    EXPECT_EQ(window.SIGNAL_QUALITY_LED.fill_color().value, red);
    EXPECT_EQ(status_poll.DPC_STATUS_CODE(), "");
    EXPECT_EQ(metrics.calls, (Lines{"poll failed", "poll failed"}));
}

}  // namespace
