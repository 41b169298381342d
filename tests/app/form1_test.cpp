#include "app/form1.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"

namespace {

class Form1Test : public ::testing::Test {
  protected:
    fakes::FakeServices fake;
    app::Form1 form1{fake.services()};
    ui::MainWindow& window = form1.window();
    fakes::FakeNavigator& navigator = fake.navigator;
    fakes::FakeTimer& poll_timer = *fake.timers.timers.at(0);
};

TEST_F(Form1Test, ButtonsRunTheDialAndHangUpHandlers) {
    navigator.connection = 2;
    window.CONNECT_BUTTON.click();
    EXPECT_EQ(navigator.dials(), 1);
    EXPECT_EQ(window.STATUS_LIST.item(2), "     Local command: CONNECT");
    EXPECT_EQ(window.TIME_LAST_ISP_CONNECT_LABEL.caption(), "12:00pm");

    navigator.connection = 1;
    window.DISCONNECT_BUTTON.click();
    EXPECT_EQ(navigator.hang_ups(), 1);
    EXPECT_EQ(window.STATUS_LIST.item(2), "     Local command: DISCONNECT");
    EXPECT_EQ(fake.metrics.calls, (std::vector<std::string>{"dial local", "hangup local"}));
}

TEST_F(Form1Test, PollTimerStartsOffAtFiveSecondsAndSurvivesAFailingNavigator) {
    EXPECT_FALSE(poll_timer.enabled());
    EXPECT_EQ(poll_timer.interval(), 5000);

    poll_timer.set_enabled(true);
    navigator.signal = 1;
    navigator.connection = 1;
    navigator.connection_fault.always();
    poll_timer.fire();  // the read fails half-way: the tick ends quietly
    EXPECT_EQ(form1.DPC_STATUS_CODE(), "");
    EXPECT_EQ(fake.metrics.calls, std::vector<std::string>{"poll failed"});

    navigator.connection_fault.never();
    poll_timer.fire();  // and the next tick polls again
    EXPECT_EQ(form1.DPC_STATUS_CODE(), "STATUS-CONNSIGOK");
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... Online - Internet available");
}

TEST_F(Form1Test, SplashClosesOnAClickOrAKeyAndOnlyOnce) {
    form1.show_splash();
    ASSERT_NE(form1.splash(), nullptr);
    EXPECT_EQ(form1.splash()->lblVERSION.caption(), "v1.00");
    form1.splash()->clicked();  // closes and destroys it from inside its own handler
    EXPECT_EQ(form1.splash(), nullptr);
    form1.close_splash();  // a second close does nothing

    form1.show_splash();
    form1.splash()->key_pressed();
    EXPECT_EQ(form1.splash(), nullptr);
    EXPECT_EQ(fake.desktop.calls, (std::vector<std::string>{"open frmSplash", "close frmSplash",
                                                            "open frmSplash", "close frmSplash"}));
}

TEST_F(Form1Test, MetricsThatCannotBeServedAreToldInTheLogAndOnTheConsole) {
    form1.metrics_unavailable("127.0.0.1:9100", "cannot listen on 127.0.0.1 port 9100: in use");
    EXPECT_EQ(window.STATUS_LIST.item(2), "     Metrics not available...");
    EXPECT_EQ(window.STATUS_LIST.item(3), "     (Cant listen on 127.0.0.1:9100)");
    EXPECT_EQ(
        fake.console.lines,
        std::vector<std::string>{
            "metrics: cannot listen on 127.0.0.1 port 9100: in use; running without metrics"});
}

// The window modes, switched by the main window's button and the tray icon.
using WindowModesTest = Form1Test;

TEST_F(WindowModesTest, ModeButtonSwitchesBetweenTheTwoHeightsAndKeepsThePlace) {
    window.move(600, 900);
    window.focus_received(window.CONNECT_BUTTON);
    ASSERT_EQ(window.height(), 4500);

    window.WINDOW_MODE_BUTTON.click();
    EXPECT_EQ(window.height(), 1575);
    EXPECT_EQ(window.client_height(), 1200);  // ends where the status log begins
    EXPECT_TRUE(window.TAB_STOP_ZERO.has_focus());

    window.WINDOW_MODE_BUTTON.click();
    EXPECT_EQ(window.height(), 4500);
    EXPECT_EQ(window.left(), 600);
    EXPECT_EQ(window.top(), 900);

    window.set_height(3000);  // neither height: it stays
    window.WINDOW_MODE_BUTTON.click();
    EXPECT_EQ(window.height(), 3000);
}

TEST_F(WindowModesTest, TrayClicksHideAndShowTheWindowInEitherMode) {
    for (const int height : {4500, 1575}) {
        window.set_height(height);
        fake.tray.click();
        EXPECT_FALSE(window.visible());
        fake.tray.click();
        EXPECT_TRUE(window.visible());
        EXPECT_EQ(window.height(), height);
    }
}

TEST_F(WindowModesTest, TrayClickDuringTheSettingsPanelShowsTheWindowButNotThePoll) {
    poll_timer.set_enabled(true);
    window.SETTINGS_BUTTON.click();
    ASSERT_FALSE(window.visible());
    ASSERT_FALSE(poll_timer.enabled());

    fake.tray.click();
    EXPECT_TRUE(window.visible());
    EXPECT_FALSE(poll_timer.enabled());
    ASSERT_NE(form1.options().form(), nullptr);

    form1.options().form()->Cancel_Button.click();
    EXPECT_TRUE(poll_timer.enabled());
}

}  // namespace
