#include "app/form1.h"

#include <gtest/gtest.h>

#include "fakes/fake_clock.h"
#include "fakes/fake_navigator.h"

namespace {

class Form1Test : public ::testing::Test {
  protected:
    Form1Test() { form1.window().set_visible(true); }

    fakes::FakeNavigator navigator;
    fakes::FakeClock clock;
    app::Form1 form1{navigator, clock};
    ui::MainWindow& window = form1.window();
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

TEST_F(Form1Test, LogHandsItsFocusToTheParkingButton) {
    window.focus_received(window.STATUS_LIST);
    EXPECT_TRUE(window.TAB_STOP_ZERO.has_focus());
}

TEST_F(Form1Test, StartsWithAnEmptyLogAndNoDialTime) {
    EXPECT_EQ(window.STATUS_LIST.count(), 0);
    EXPECT_EQ(window.TIME_LAST_ISP_CONNECT_LABEL.caption(), "na");
    EXPECT_EQ(window.caption(), "Orvanta");
}

}  // namespace
