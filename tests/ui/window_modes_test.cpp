#include "ui/window_modes.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "fakes/fake_services.h"

namespace {

class WindowModesTest : public ::testing::Test {
  protected:
    fakes::FakeServices fake;
    app::Form1 form1{fake.services()};
    ui::MainWindow& window = form1.window();
    fakes::FakeTimer& poll_timer = *fake.timers.timers.at(0);
};

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
