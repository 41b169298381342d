#include "app/startup.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/form1.h"
#include "app/settings_file.h"
#include "fakes/fake_services.h"
#include "util/cp1252.h"

namespace {

constexpr const char* ini_path = "/opt/orvanta/Orvanta.ini";
using Lines = std::vector<std::string>;

app::Settings usual_settings() {
    return {.LISTEN_PORT = 2509,
            .TRANSMIT_PORT = 2519,
            .WINDOW_LEFT = 300,
            .WINDOW_TOP = 450,
            .DPC_HW_POLL_INTERVAL = 5};
}

class StartupTest : public ::testing::Test {
  protected:
    void write_settings(const app::Settings& settings) {
        fake.files.put(ini_path, util::to_cp1252(app::format_settings(settings, "12/6/26")));
    }

    void make() {
        form1.reset();
        fake.timers.timers.clear();
        fake.network.sockets.clear();
        form1 = std::make_unique<app::Form1>(fake.services());
    }
    void load() {
        make();
        form1->Form_Load();
    }

    // The one message box shown.
    void expect_box(platform::MessageIcon icon, const std::string& title, const std::string& text) {
        ASSERT_EQ(fake.message_box.shown.size(), 1U);
        EXPECT_EQ(fake.message_box.shown[0].icon, icon);
        EXPECT_EQ(fake.message_box.shown[0].title, title);
        EXPECT_EQ(fake.message_box.shown[0].text, text);
    }
    ui::MainWindow& window() { return form1->window(); }
    fakes::FakeWinsock& listener() { return *fake.network.sockets.at(0); }
    fakes::FakeTimer& poll_timer() { return *fake.timers.timers.at(0); }
    Lines log_lines() { return window().STATUS_LIST.items(); }
    bool splash_open() { return form1->splash() != nullptr; }
    int elements() { return form1->listeners().UBound(); }

    fakes::FakeServices fake;
    std::unique_ptr<app::Form1> form1;
};

TEST_F(StartupTest, FullStartListensPollsAndClosesTheSplash) {
    write_settings(usual_settings());
    fake.clock.set_time(21, 5);
    load();

    EXPECT_GE(fake.clock.steady.count(), 2000);  // the splash's two seconds
    EXPECT_EQ(fake.events.calls, 1);
    EXPECT_TRUE(fake.message_box.shown.empty());
    EXPECT_FALSE(splash_open());
    EXPECT_EQ(listener().calls, (Lines{"Close", "LocalPort 2509", "Listen"}));
    EXPECT_EQ(elements(), 10);
    EXPECT_EQ(window().left(), 300);
    EXPECT_EQ(window().top(), 450);
    EXPECT_TRUE(poll_timer().enabled());
    EXPECT_EQ(poll_timer().interval(), 5000);

    EXPECT_EQ(log_lines(),
              (Lines{ui::StatusLog::separator, "     09:05pm", "     DPC status collected",
                     ui::StatusLog::separator, "     09:05pm", "     Orvanta started OK",
                     "     Values read from INI file...", "      Transmit Port: 2519",
                     "      Listen Port: 2509"}));
    EXPECT_EQ(fake.tray.calls,
              (Lines{"Icon dish_red_x", "ToolTip Orvanta... server starting up", "Attention 0",
                     "ShowIcon", "Icon dish_server_running", "ToolTip Orvanta... server running",
                     "Attention 0", "Icon dish_disconnected",
                     "ToolTip Orvanta... Offline - Internet not available", "Attention 0"}));
    EXPECT_EQ(window().DPC_Stat_Label.caption(), "OFFLINE");
    EXPECT_TRUE(window().visible());
}

TEST_F(StartupTest, OldNavigatorStopsStartUpWithTheSplashStillOpen) {
    write_settings(usual_settings());
    fake.version_info.set_translations({0x09, 0x04, 0xB0, 0x04});
    fake.version_info.set_string("040904B0", "ProductVersion", "2.0");
    bool on_top_meanwhile = false;
    fake.message_box.while_open = [&] { on_top_meanwhile = form1->splash()->stays_on_top(); };
    load();

    expect_box(platform::MessageIcon::Critical, "DirecPC Software Version Error...",
               "Orvanta only supports DirecPC software v2.20 or higher!\n\r"
               "(this is due to the differences in the DPC status flags).\n\r\n\r"
               "Orvanta will now start but status will be unavailable.");
    EXPECT_EQ(fake.events.calls, 2);
    EXPECT_EQ(window().DPC_Stat_Label.caption(), "NO CARD");
    EXPECT_TRUE(window().No_DPC_Card_Image.visible());
    ASSERT_TRUE(splash_open());
    // Above other programs while start-up runs, like any window after.
    EXPECT_TRUE(on_top_meanwhile);
    EXPECT_FALSE(form1->splash()->stays_on_top());
    EXPECT_TRUE(fake.tray.calls.empty());  // the tray icon is never put up
    EXPECT_TRUE(listener().calls.empty());
    EXPECT_TRUE(log_lines().empty());
    EXPECT_FALSE(poll_timer().enabled());
    EXPECT_EQ(fake.navigator.signal_reads(), 0);
}

TEST_F(StartupTest, MissingSettingsAskTheUserToSaveThem) {
    load();

    expect_box(platform::MessageIcon::Critical, "INI File Missing...",
               "The INI file containing the settings for Orvanta is missing...\n\r"
               "(this is normal if it is the first time you have used this program.)\n\r\n\r"
               "Please go to the settings panel and save new settings.");
    EXPECT_EQ(log_lines(),
              (Lines{ui::StatusLog::separator, "     12:00pm", "     INI file does not exist...",
                     "     Goto settings and save!"}));
    EXPECT_EQ(fake.tray.icon, "dish_red_x");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... please check settings");
    EXPECT_TRUE(fake.tray.attention);
    EXPECT_TRUE(fake.tray.shown);
    EXPECT_EQ(window().DPC_Stat_Label.caption(), "ERROR");
    EXPECT_TRUE(window().placed());
    EXPECT_EQ(window().left(), 0);
    EXPECT_EQ(window().top(), 0);
    EXPECT_FALSE(splash_open());
    EXPECT_TRUE(listener().calls.empty());
    EXPECT_FALSE(poll_timer().enabled());
    EXPECT_EQ(form1->settings(), app::Settings{});
}

TEST_F(StartupTest, UnreadableSettingsKeepWhatWasReadBeforeTheFault) {
    fake.files.put(ini_path, "2600\r3000\r1.5.5\r");
    load();

    expect_box(platform::MessageIcon::Information, "INI File Error...",
               "There was an error reading the INI file...\n\rplease check the current settings.");
    EXPECT_EQ(log_lines(),
              (Lines{ui::StatusLog::separator, "     12:00pm", "     Error reading INI file...",
                     "     Check the current settings!"}));
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... please check settings");
    EXPECT_TRUE(fake.tray.attention);
    EXPECT_EQ(window().DPC_Stat_Label.caption(), "NO STAT");
    EXPECT_TRUE(window().No_Status_Image.visible());
    EXPECT_FALSE(window().placed());
    EXPECT_FALSE(splash_open());
    EXPECT_EQ(form1->settings().LISTEN_PORT, 2600);
    EXPECT_EQ(form1->settings().TRANSMIT_PORT, 3000);
    EXPECT_TRUE(listener().calls.empty());
    EXPECT_FALSE(poll_timer().enabled());
}

TEST_F(StartupTest, AnEndAskedForWhileAStartUpBoxIsOpenIsFinal) {
    // A termination signal is handled while a box waits for its OK, or
    // with the events start-up lets run right after the version box: the
    // window closes, and no step of start-up may run after that.
    const auto old_navigator = [](fakes::FakeServices& f) {
        f.version_info.set_translations({0x09, 0x04, 0xB0, 0x04});
        f.version_info.set_string("040904B0", "ProductVersion", "2.0");
    };
    const auto unreadable = [](fakes::FakeServices& f) {
        app::Settings settings = usual_settings();
        settings.SAVE_WINDOW_POS = true;
        std::string text = app::format_settings(settings, "12/6/26");
        const auto line_32 = text.find("False", text.find("Always Keep Connected"));
        f.files.put(ini_path, util::to_cp1252(text.replace(line_32, 5, "yes")));
    };
    // The box's title, what leads to it, and whether the end comes after it.
    const std::tuple<const char*, std::function<void(fakes::FakeServices&)>, bool> cases[] = {
        {"DirecPC Software Version Error...", old_navigator, true},
        {"INI File Missing...", [](fakes::FakeServices&) {}, false},
        {"INI File Error...", unreadable, false},
    };
    for (const auto& [title, arrange, after_box] : cases) {
        SCOPED_TRACE(title);
        fakes::FakeServices f;
        arrange(f);
        const auto file = [&] {
            return f.files.contains(ini_path) ? f.files.read_file(ini_path) : "";
        };
        const std::string file_before = file();
        app::Form1 form(f.services());
        const auto end = [&form] { form.window().close_requested(); };
        f.message_box.while_open = [&, later = after_box] {
            if (later) {
                f.events.pending = end;
            } else {
                end();
            }
        };
        form.Form_Load();

        ASSERT_EQ(f.message_box.shown.size(), 1U);
        EXPECT_EQ(f.message_box.shown[0].title, title);
        EXPECT_TRUE(form.ending());
        EXPECT_EQ(f.desktop.calls.back(), "quit");
        EXPECT_TRUE(form.window().STATUS_LIST.items().empty());
        EXPECT_NE(form.window().DPC_Stat_Label.caption(), "NO CARD");
        EXPECT_NE(form.window().DPC_Stat_Label.caption(), "ERROR");
        EXPECT_FALSE(form.window().placed());
        EXPECT_NE(f.tray.tooltip, "Orvanta... please check settings");
        EXPECT_EQ(f.network.sockets.at(0)->calls, Lines{"Close"});  // the shutdown's
        EXPECT_FALSE(form.DPC_HW_POLL().enabled());
        EXPECT_EQ(file(), file_before);
    }
}

TEST_F(StartupTest, TheServerListensOnlyWhereOrvantaConfSays) {
    write_settings(usual_settings());
    form1.reset();
    form1 = std::make_unique<app::Form1>(fake.services(), info::ProgramVersion{},
                                         app::ServerOptions{"127.0.0.1", {}});
    form1->Form_Load();
    EXPECT_EQ(listener().calls,
              (Lines{"Close", "LocalPort 2509", "LocalAddress 127.0.0.1", "Listen"}));
}

TEST_F(StartupTest, ListenFailureLeavesTheServerAndThePollOff) {
    write_settings(usual_settings());
    make();
    listener().listen_fault.always();
    form1->Form_Load();

    EXPECT_EQ(log_lines(), (Lines{ui::StatusLog::separator, "     12:00pm",
                                  "     Error connecting to port: 2509"}));
    EXPECT_EQ(fake.tray.icon, "dish_red_x");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... server could not be started");
    EXPECT_TRUE(fake.tray.attention);
    EXPECT_EQ(elements(), 0);
    EXPECT_FALSE(poll_timer().enabled());
    EXPECT_FALSE(splash_open());
    EXPECT_EQ(window().DPC_Stat_Label.caption(), "NO STAT");
    EXPECT_EQ(window().left(), 300);  // placed before the server was tried
}

TEST_F(StartupTest, LaterFailureUndoesNothingThatSucceeded) {
    app::Settings settings = usual_settings();
    settings.STARTUP_IN_MINIMODE = true;
    write_settings(settings);
    fake.network.create_fault.after(2 + 3);  // element 0 and the talker, then three elements
    load();
    EXPECT_EQ(elements(), 3);
    EXPECT_EQ(listener().state, platform::Winsock::sckListening);
    EXPECT_EQ(log_lines().back(), "     Error connecting to port: 2509");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... server could not be started");
    EXPECT_FALSE(poll_timer().enabled());
    EXPECT_EQ(window().height(), 4500);  // never reached
}

TEST_F(StartupTest, NavigatorFailingInTheFirstPollEndsStartUpWithSocketsReady) {
    app::Settings settings = usual_settings();
    settings.STARTUP_IN_MINIMODE = true;
    settings.STARTUP_IN_SYSTRAY = true;
    write_settings(settings);
    fake.navigator.signal_fault.always();
    load();
    EXPECT_EQ(elements(), 10);
    EXPECT_EQ(window().height(), 1575);
    EXPECT_FALSE(window().visible());
    EXPECT_FALSE(poll_timer().enabled());
    EXPECT_EQ(log_lines().at(2), "     Error connecting to port: 2509");
    EXPECT_EQ(log_lines().at(5), "     DPC status collected");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... server could not be started");
}

TEST_F(StartupTest, EveryIntervalStartsShortOnesAreRaisedToFiveAndAPositionOfOneIsZero) {
    // Intervals of 33 seconds and more used to overflow and stop the server.
    // The full start shows that other positions are taken as they are.
    const std::pair<std::int16_t, int> cases[] = {
        {0, 5000}, {4, 5000}, {5, 5000}, {32, 32000}, {33, 33000}, {60, 60000}, {32767, 32767000}};
    for (const auto& [interval, expected] : cases) {
        SCOPED_TRACE(interval);
        app::Settings settings = usual_settings();
        settings.DPC_HW_POLL_INTERVAL = interval;
        settings.WINDOW_LEFT = 1;
        settings.WINDOW_TOP = 1;
        write_settings(settings);
        load();
        EXPECT_TRUE(poll_timer().enabled());
        EXPECT_EQ(poll_timer().interval(), expected);
        EXPECT_EQ(form1->settings().DPC_HW_POLL_INTERVAL, std::max<int>(interval, 5));
        EXPECT_EQ(window().left(), 0);
        EXPECT_EQ(window().top(), 0);
        EXPECT_EQ(form1->settings().WINDOW_LEFT, 0);
        EXPECT_EQ(fake.tray.tooltip, "Orvanta... Offline - Internet not available");
    }
}

TEST_F(StartupTest, MiniModeAndTrayOnlyStartLeaveASmallHiddenWindow) {
    app::Settings settings = usual_settings();
    settings.STARTUP_IN_MINIMODE = true;
    settings.STARTUP_IN_SYSTRAY = true;
    write_settings(settings);
    load();
    EXPECT_EQ(window().height(), 1575);
    EXPECT_FALSE(window().visible());
    EXPECT_TRUE(fake.console.lines.empty());
    fake.tray.click();
    EXPECT_TRUE(window().visible());
    EXPECT_EQ(window().height(), 1575);

    // Without a tray nothing could bring a hidden window back: it stays
    // visible, in mini mode still, and the operator is told once.
    fake.tray.tray_available = false;
    load();
    EXPECT_EQ(window().height(), 1575);
    EXPECT_TRUE(window().visible());
    EXPECT_EQ(fake.console.lines,
              Lines{"no system tray on this desktop: the window stays visible instead of "
                    "starting in the tray"});
    const Lines log = log_lines();  // the poll's block, then this one
    EXPECT_EQ(Lines(log.begin() + 3, log.begin() + 7),
              (Lines{ui::StatusLog::separator, "     12:00pm", "     No system tray found...",
                     "     Window left visible!"}));
}

TEST_F(StartupTest, OnlyProductVersionTwoPointZeroIsRefused) {
    fake.version_info.set_translations({0x09, 0x04, 0xB0, 0x04});
    for (const char* version : {"2.20", "2.0.1", " 2.0", "2.0 "}) {
        fake.version_info.set_string("040904B0", "ProductVersion", version);
        write_settings(usual_settings());
        load();
        EXPECT_TRUE(fake.message_box.shown.empty()) << version;
        EXPECT_TRUE(poll_timer().enabled()) << version;
    }
}

}  // namespace
