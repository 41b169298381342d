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
}

TEST_F(Form1Test, PollTimerStartsOffAtFiveSecondsAndSurvivesAFailingNavigator) {
    fakes::FakeTimer& timer = *fake.timers.timers.at(0);
    EXPECT_FALSE(timer.enabled());
    EXPECT_EQ(timer.interval(), 5000);

    timer.set_enabled(true);
    navigator.signal = 1;
    navigator.connection = 1;
    navigator.connection_fault.always();
    timer.fire();  // the read fails half-way: the tick ends quietly
    EXPECT_EQ(form1.DPC_STATUS_CODE(), "");
    EXPECT_EQ(window.STATUS_LIST.item(2), "     DPC status collected");
    EXPECT_EQ(window.SIGNAL_QUALITY_LED.fill_color().value, 65280U);

    navigator.connection_fault.never();
    timer.fire();  // and the next tick polls again
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

}  // namespace
