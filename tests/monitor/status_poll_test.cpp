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

// Everything a poll shows, gathered for one comparison.
struct Display {
    std::string code;
    std::vector<std::string> visible_images;  // bottom to top
    std::string word;
    std::uint32_t lamp;
    std::string icon;
    std::string tooltip;
    bool attention;

    bool operator==(const Display&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Display& d) {
    out << d.code << " [";
    for (const auto& image : d.visible_images) {
        out << image << " ";
    }
    return out << "] " << d.word << " lamp " << d.lamp << " " << d.icon << " '" << d.tooltip << "' "
               << d.attention;
}

class StatusPollTest : public ::testing::Test {
  protected:
    StatusPollTest() { window.set_visible(true); }

    Display poll(std::int16_t signal, std::int16_t connection) {
        navigator.signal = signal;
        navigator.connection = connection;
        status_poll.GET_DPC_STATUS();
        return display();
    }

    Display display() const {
        Display d{status_poll.DPC_STATUS_CODE(),
                  {},
                  window.DPC_Stat_Label.caption(),
                  window.SIGNAL_QUALITY_LED.fill_color().value,
                  tray.icon,
                  tray.tooltip,
                  tray.attention};
        // Declaration order is the stacking order, bottom first.
        for (const platform::Image* image :
             {&window.Dialing_Image, &window.No_Status_Image, &window.No_DPC_Card_Image,
              &window.Disconnected_Image, &window.Connected_Image, &window.No_Signal_Image}) {
            if (image->visible()) {
                d.visible_images.push_back(image->name());
            }
        }
        return d;
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

TEST_F(StatusPollTest, EachClassifiedPairShowsItsWholeState) {
    // Start from a state every row must overwrite.
    window.No_Status_Image.set_visible(true);
    window.No_DPC_Card_Image.set_visible(true);

    const char* no_signal = "Orvanta... Internet not available - No Signal";
    EXPECT_EQ(poll(1, 1), (Display{"STATUS-CONNSIGOK",
                                   {"Connected_Image"},
                                   "ONLINE",
                                   green,
                                   "dish_connected",
                                   "Orvanta... Online - Internet available",
                                   false}));
    EXPECT_EQ(poll(1, 2), (Display{"STATUS-DISCSIGOK",
                                   {"Disconnected_Image"},
                                   "OFFLINE",
                                   green,
                                   "dish_disconnected",
                                   "Orvanta... Offline - Internet not available",
                                   false}));
    // Dialing with signal shows the connected picture drawn over the dialing one.
    EXPECT_EQ(poll(1, 3), (Display{"STATUS-DIALSIGOK",
                                   {"Dialing_Image", "Connected_Image"},
                                   "DIALING",
                                   green,
                                   "dish_server_running",
                                   "Orvanta... Dialing",
                                   false}));
    // Without signal, a connection value of 0 reads as connected.
    const Display online_without_signal{"STATUS-CONNNOSIG", {"No_Signal_Image"}, "ONLINE", red,
                                        "dish_cloud",       no_signal,           true};
    EXPECT_EQ(poll(3, 0), online_without_signal);
    EXPECT_EQ(poll(3, 1), online_without_signal);
    EXPECT_EQ(poll(3, 2), (Display{"STATUS-DISCNOSIG",
                                   {"No_Signal_Image"},
                                   "OFFLINE",
                                   red,
                                   "dish_cloud",
                                   no_signal,
                                   true}));
    EXPECT_EQ(poll(3, 3), (Display{"STATUS-DIALSIGOK",
                                   {"Dialing_Image"},
                                   "DIALING",
                                   red,
                                   "dish_cloud",
                                   "Orvanta... No Signal - Dialing",
                                   true}));
}

TEST_F(StatusPollTest, TrayIsSetIconThenToolTipThenAttention) {
    poll(1, 1);
    const std::vector<std::string> expected{
        "Icon dish_connected", "ToolTip Orvanta... Online - Internet available", "Attention 0"};
    EXPECT_EQ(tray.calls, expected);
}

TEST_F(StatusPollTest, UnclassifiedPairsChangeNothingButTheLamp) {
    const Display before = poll(1, 1);

    Display expected = before;
    expected.lamp = red;
    EXPECT_EQ(poll(3, 4), expected);  // lamp red, the rest as it was
    expected.lamp = green;
    EXPECT_EQ(poll(1, 0), expected);
    EXPECT_EQ(poll(0, 1), expected);  // no lamp change either
    EXPECT_EQ(poll(2, 2), expected);
    EXPECT_EQ(navigator.connection_reads_made(), 3);  // not read for signals 0 and 2
    EXPECT_EQ(tray.calls.size(), 3U);                 // only the first poll set the tray
}

TEST_F(StatusPollTest, FirstUnclassifiedPollLeavesTheCodeEmptyAndTheStartWord) {
    window.DPC_Stat_Label.set_caption("NO STAT");
    window.No_Status_Image.set_visible(true);
    const Display d = poll(1, 7);
    EXPECT_EQ(d.code, "");
    EXPECT_EQ(d.word, "NO STAT");
    EXPECT_EQ(d.visible_images, std::vector<std::string>{"No_Status_Image"});
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

TEST_F(StatusPollTest, PollsAloneKeepTwentyTwoLines) {
    for (int i = 0; i < 30; ++i) {
        poll(1, 1);
    }
    ASSERT_EQ(window.STATUS_LIST.count(), 22);
    // Seven whole blocks and the separator of the eighth.
    for (int block = 0; block < 7; ++block) {
        EXPECT_EQ(window.STATUS_LIST.item(block * 3 + 2), "     DPC status collected");
    }
    EXPECT_EQ(window.STATUS_LIST.item(21), ui::StatusLog::separator);
}

}  // namespace
