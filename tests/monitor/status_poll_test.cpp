#include "monitor/status_poll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/fake_navigator.h"
#include "fakes/fake_tray_icon.h"
#include "platform/failure.h"

namespace {

constexpr std::uint32_t green = 65280;
constexpr std::uint32_t red = 255;

class StatusPollTest : public ::testing::Test {
  protected:
    StatusPollTest() { window.set_visible(true); }

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
    ui::MainWindow window;
    app::Settings settings;
    ui::StatusLog log{window.STATUS_LIST, clock};
    ui::TrayDisplay tray_display{tray};
    monitor::DialControl dial{navigator, log, window.TAB_STOP_ZERO,
                              window.TIME_LAST_ISP_CONNECT_LABEL, clock};
    monitor::StatusPoll status_poll{navigator, log, window, tray_display, dial, settings};
};

TEST_F(StatusPollTest, EachClassifiedPairShowsItsWholeStateAndOthersOnlyTheLamp) {
    // Start from a state every row must overwrite.
    window.No_Status_Image.set_visible(true);
    window.No_DPC_Card_Image.set_visible(true);
    struct Row {
        std::int16_t signal, connection;
        const char* shown;
    };
    const Row rows[] = {
        {1, 1,
         "STATUS-CONNSIGOK | Connected_Image | ONLINE | green | dish_connected | "
         "Orvanta... Online - Internet available"},
        {1, 2,
         "STATUS-DISCSIGOK | Disconnected_Image | OFFLINE | green | dish_disconnected | "
         "Orvanta... Offline - Internet not available"},
        // Dialing with signal shows the connected picture drawn over the dialing one.
        {1, 3,
         "STATUS-DIALSIGOK | Dialing_Image Connected_Image | DIALING | green | "
         "dish_server_running | Orvanta... Dialing"},
        // Without signal, a connection value of 0 reads as connected.
        {3, 0,
         "STATUS-CONNNOSIG | No_Signal_Image | ONLINE | red | dish_cloud | "
         "Orvanta... Internet not available - No Signal | blinks"},
        {3, 1,
         "STATUS-CONNNOSIG | No_Signal_Image | ONLINE | red | dish_cloud | "
         "Orvanta... Internet not available - No Signal | blinks"},
        {3, 2,
         "STATUS-DISCNOSIG | No_Signal_Image | OFFLINE | red | dish_cloud | "
         "Orvanta... Internet not available - No Signal | blinks"},
        {3, 3,
         "STATUS-DIALSIGOK | Dialing_Image | DIALING | red | dish_cloud | "
         "Orvanta... No Signal - Dialing | blinks"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(poll(row.signal, row.connection), row.shown) << row.signal << row.connection;
    }

    const std::string online = poll(1, 1);
    std::string red_lamp = online;
    red_lamp.replace(red_lamp.find("green"), 5, "red");
    tray.calls.clear();
    const int reads = navigator.connection_reads_made();
    EXPECT_EQ(poll(3, 4), red_lamp);  // lamp red, the rest as it was
    EXPECT_EQ(poll(1, 0), online);
    EXPECT_EQ(poll(0, 1), online);  // no lamp change either
    EXPECT_EQ(poll(2, 2), online);
    EXPECT_EQ(navigator.connection_reads_made(), reads + 2);  // not read for signals 0 and 2
    EXPECT_TRUE(tray.calls.empty());
}

TEST_F(StatusPollTest, FirstUnclassifiedPollLeavesTheCodeEmptyAndTheStartWord) {
    window.DPC_Stat_Label.set_caption("NO STAT");
    window.No_Status_Image.set_visible(true);
    EXPECT_EQ(poll(1, 7), " | No_Status_Image | NO STAT | green |  | ");
    EXPECT_EQ(window.STATUS_LIST.item(2), "     DPC status collected");
}

TEST_F(StatusPollTest, KeepConnectedRedialsOnEveryPollThatFindsTheLinkDownWithSignal) {
    settings.KEEP_CONNECTED = true;
    for (int i = 1; i <= 2; ++i) {
        poll(1, 2);
        EXPECT_EQ(navigator.dials(), i);
    }
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
}

}  // namespace
