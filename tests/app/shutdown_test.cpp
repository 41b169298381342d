#include "app/shutdown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/settings_file.h"
#include "app/settings_reader.h"
#include "fakes/fake_services.h"
#include "util/cp1252.h"

namespace {

constexpr const char* ini_path = "/opt/orvanta/Orvanta.ini";
using Lines = std::vector<std::string>;

class ShutdownTest : public ::testing::Test {
  protected:
    void start(bool save_position, std::int16_t interval = 5) {
        const app::Settings settings{.LISTEN_PORT = 2509,
                                     .TRANSMIT_PORT = 2519,
                                     .WINDOW_LEFT = 300,
                                     .WINDOW_TOP = 450,
                                     .SAVE_WINDOW_POS = save_position,
                                     .DPC_HW_POLL_INTERVAL = interval};
        original = util::to_cp1252(app::format_settings(settings, "1/2/26"));
        fake.files.put(ini_path, original);
        form1->Form_Load();
    }

    app::Settings stored() {
        app::Settings settings;
        EXPECT_EQ(app::SettingsReader(fake.files, fake.location).read(settings),
                  app::SettingsReadOutcome::Loaded);
        return settings;
    }

    fakes::FakeServices fake;
    std::unique_ptr<app::Form1> form1 = std::make_unique<app::Form1>(fake.services());
    std::string original;
};

TEST_F(ShutdownTest, ClosesAndDestroysTheSocketsThenFades) {
    start(false);
    fakes::FakeWinsock& listener = *fake.network.sockets.at(0);
    fakes::FakeWinsock& talker = *fake.network.sockets.at(1);
    fake.desktop.calls.clear();
    listener.calls.clear();
    form1->Form_Unload();

    EXPECT_EQ(talker.calls, Lines{"Close"});
    EXPECT_EQ(listener.calls, Lines{"Close"});
    EXPECT_EQ(form1->listeners().UBound(), 0);
    EXPECT_EQ(fake.desktop.calls, Lines{"fade Form1 500"});
    EXPECT_FALSE(form1->window().visible());
    EXPECT_EQ(fake.files.entries.at(ini_path).bytes, original);  // untouched
}

TEST_F(ShutdownTest, SavesThePresentPositionIfInRangeAndTheRaisedInterval) {
    start(true, 2);
    form1->window().moved_to(1200, 2400);  // the user moved it
    fake.clock.date = "12/24/26";
    form1->Form_Unload();

    const app::Settings settings = stored();
    EXPECT_EQ(settings.WINDOW_LEFT, 1200);
    EXPECT_EQ(settings.WINDOW_TOP, 2400);
    EXPECT_EQ(settings.DPC_HW_POLL_INTERVAL, 5);
    EXPECT_NE(fake.files.entries.at(ini_path).bytes.find("'12/24/26\r\n"), std::string::npos);

    // A position beyond the settings' range keeps the stored one.
    form1 = std::make_unique<app::Form1>(fake.services());
    start(true);
    form1->window().moved_to(-48000, 2400);
    form1->Form_Unload();
    EXPECT_EQ(stored().WINDOW_LEFT, 300);
    EXPECT_EQ(stored().WINDOW_TOP, 450);
}

TEST_F(ShutdownTest, FailingWriteSocketsTimersAndFadeArePassedOver) {
    start(true);
    fake.files.replace_fault.always();
    fake.network.sockets.at(0)->close_fault.always();
    fake.network.sockets.at(1)->close_fault.always();
    for (fakes::FakeTimer* timer : fake.timers.timers) {
        timer->enable_fault.always();
    }
    fake.desktop.fade_fault.always();
    form1->Form_Unload();
    EXPECT_EQ(fake.files.entries.at(ini_path).bytes, original);
    EXPECT_EQ(form1->listeners().UBound(), 0);
    EXPECT_EQ(fake.desktop.calls.back(), "fade Form1 500");
}

TEST_F(ShutdownTest, OnlyTheFadeRunsOnceShutdownHasBegun) {
    start(false);
    fake.navigator.signal = 1;
    fake.navigator.connection = 2;
    form1->settings().KEEP_CONNECTED = true;
    fakes::FakeTimer& poll_timer = *fake.timers.timers.at(0);
    fakes::FakeTimer& closer_timer = *fake.timers.timers.at(1);
    const auto log_size = form1->window().STATUS_LIST.items().size();
    fake.desktop.during_fade = [&] {
        // The timers would tick meanwhile: a poll here would redial.
        poll_timer.fire();
        closer_timer.fire();
        form1->window().close_requested();  // a second signal
    };
    form1->window().close_requested();

    EXPECT_FALSE(poll_timer.enabled());
    EXPECT_FALSE(closer_timer.enabled());
    EXPECT_EQ(fake.navigator.dials(), 0);
    EXPECT_EQ(form1->window().STATUS_LIST.items().size(), log_size);
    EXPECT_EQ(std::count(fake.desktop.calls.begin(), fake.desktop.calls.end(), "fade Form1 500"),
              1);
}

TEST_F(ShutdownTest, SettingsThatFailedToReadAreNeverWrittenBack) {
    // The position option is read before the faulty line; the values after
    // it were never seen, so writing them would put zeros in their place.
    const app::Settings settings{.LISTEN_PORT = 2509, .WINDOW_LEFT = 1500, .SAVE_WINDOW_POS = true};
    std::string text = app::format_settings(settings, "1/2/26");
    const auto line_32 = text.find("False", text.find("Always Keep Connected"));
    original = util::to_cp1252(text.replace(line_32, 5, "yes"));
    fake.files.put(ini_path, original);
    form1->Form_Load();
    ASSERT_TRUE(form1->settings().SAVE_WINDOW_POS);
    form1->window().moved_to(600, 700);
    form1->Form_Unload();
    EXPECT_EQ(fake.files.entries.at(ini_path).bytes, original);
}

TEST_F(ShutdownTest, AfterAnEarlyEndNothingIsDestroyedAndTheWindowStillFades) {
    form1->Form_Load();  // no settings file: start-up ends early
    const auto sockets = fake.network.sockets.size();
    form1->Form_Unload();
    EXPECT_EQ(fake.network.sockets.size(), sockets);
    EXPECT_EQ(form1->listeners().UBound(), 0);
    EXPECT_FALSE(fake.files.contains(ini_path));
    EXPECT_EQ(fake.desktop.calls.back(), "fade Form1 500");
}

}  // namespace
