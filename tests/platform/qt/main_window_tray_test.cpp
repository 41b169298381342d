#include <gtest/gtest.h>

#include <QWidget>

#include "app/form1.h"
#include "fakes/fake_services.h"
#include "platform/qt/form_renderer.h"
#include "platform/qt/qt_tray_icon.h"

namespace {

// The main window and the tray icon as the running program has them: the
// logic with test doubles, the real renderer and the real tray icon.
class MainWindowTrayTest : public testing::Test {
  protected:
    bool shown(const platform::Control& control) const {
        const QWidget* widget = renderer.widget_of(control);
        return widget != nullptr && widget->isVisibleTo(&renderer.window());
    }

    fakes::FakeServices fake;
    platform::qt::QtTrayIcon tray;
    app::Form1 form1{fake.services({.tray = &tray})};
    ui::MainWindow& window = form1.window();
    platform::qt::FormRenderer renderer{window};
};

TEST_F(MainWindowTrayTest, PollShowsTheLinkInTheTrayAndInTheWindow) {
    fake.navigator.signal = 1;
    fake.navigator.connection = 1;
    form1.GET_DPC_STATUS();
    EXPECT_EQ(tray.tooltip(), "Orvanta... Online - Internet available");
    EXPECT_EQ(tray.picture(), "dish_connected");
    EXPECT_FALSE(tray.blinking());
    EXPECT_TRUE(shown(window.Connected_Image));
    EXPECT_FALSE(shown(window.No_Signal_Image));

    fake.navigator.signal = 3;
    fake.navigator.connection = 2;
    form1.GET_DPC_STATUS();
    EXPECT_EQ(tray.tooltip(), "Orvanta... Internet not available - No Signal");
    EXPECT_TRUE(tray.attention());
    EXPECT_TRUE(tray.blinking());
    EXPECT_TRUE(shown(window.No_Signal_Image));
    EXPECT_FALSE(shown(window.Connected_Image));
}

TEST_F(MainWindowTrayTest, TrayClickHidesTheWindowAndTheNextShowsItAgain) {
    window.set_visible(true);
    ASSERT_TRUE(renderer.window().isVisible());

    emit tray.tray().activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(renderer.window().isVisible());
    emit tray.tray().activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(renderer.window().isVisible());
}

}  // namespace
