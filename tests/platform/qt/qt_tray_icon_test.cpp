#include "platform/qt/qt_tray_icon.h"

#include <gtest/gtest.h>

#include <QTest>
#include <stdexcept>
#include <string>

#include "platform/failure.h"
#include "platform/qt/blinker.h"
#include "platform/qt/picture.h"

namespace {

using platform::qt::QtTrayIcon;

constexpr int patience_ms = 4 * platform::qt::Blinker::beat_ms;

QImage shown(QtTrayIcon& icon) {
    return icon.tray().icon().pixmap(32).toImage();
}

QImage picture(const std::string& name) {
    return platform::qt::render_picture(name, {32, 32}, 1.0).toImage();
}

// Whether the orange ring of the highlighted variant is there: at the top
// edge, where no tray picture has anything orange.
bool glows(const QImage& image) {
    const QColor top = image.pixelColor(16, 1);
    return top.alpha() > 200 && top.red() > 200 && top.blue() < 80;
}

// The tests run where there is no tray, as on a desktop without one.
class QtTrayIconTest : public testing::Test {
  protected:
    void SetUp() override {
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            GTEST_SKIP() << "this desktop has a system tray";
        }
    }

    QtTrayIcon icon;
};

TEST_F(QtTrayIconTest, WithoutATrayKeepsItsStateAndSaysSoOnce) {
    icon.Icon("dish_cloud");
    icon.ToolTip("Orvanta... Internet not available - No Signal");
    EXPECT_FALSE(icon.tray().isVisible()) << "nothing shows before ShowIcon";

    testing::internal::CaptureStderr();
    icon.ShowIcon();
    icon.ShowIcon();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "orvanta: no system tray on this desktop; the tray icon is not shown\n");

    EXPECT_EQ(shown(icon), picture("dish_cloud"));
    EXPECT_EQ(icon.tray().toolTip(), "Orvanta... Internet not available - No Signal");

    // Changes after ShowIcon reach the icon at once.
    icon.Icon("dish_connected");
    icon.ToolTip("Orvanta... Online - Internet available");
    EXPECT_EQ(shown(icon), picture("dish_connected"));
    EXPECT_EQ(icon.tray().toolTip(), "Orvanta... Online - Internet available");

    icon.Icon("no such picture");
    EXPECT_TRUE(icon.tray().icon().isNull());
}

TEST_F(QtTrayIconTest, AttentionBlinksTheHighlightedPictureAndStopsWhenOver) {
    icon.Icon("dish_cloud");
    icon.ShowIcon();
    EXPECT_FALSE(icon.blinking()) << "an idle icon must not keep a timer running";
    EXPECT_FALSE(glows(shown(icon)));

    icon.Attention(true);
    EXPECT_TRUE(icon.blinking());
    EXPECT_TRUE(glows(shown(icon))) << "the call for attention shows at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !glows(shown(icon)); }, patience_ms));
    EXPECT_EQ(shown(icon), picture("dish_cloud"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return glows(shown(icon)); }, patience_ms));

    // A new picture blinks in its turn.
    icon.Icon("dish_red_x");
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown(icon) == picture("dish_red_x"); }, patience_ms));
    EXPECT_TRUE(QTest::qWaitFor([&] { return glows(shown(icon)); }, patience_ms));

    icon.Attention(false);
    EXPECT_FALSE(icon.blinking());
    EXPECT_EQ(shown(icon), picture("dish_red_x")) << "the plain picture comes back at once";
}

TEST_F(QtTrayIconTest, ClickReachesTheHandlerOnceAndItsExceptionsStayInside) {
    int clicks = 0;
    icon.on_IconClicked([&] {
        ++clicks;
        throw platform::Failure("window gone");
    });

    testing::internal::CaptureStderr();
    emit icon.tray().activated(QSystemTrayIcon::Trigger);
    emit icon.tray().activated(QSystemTrayIcon::DoubleClick);
    emit icon.tray().activated(QSystemTrayIcon::Context);
    emit icon.tray().activated(QSystemTrayIcon::Trigger);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_EQ(clicks, 2) << "a double click starts with a Trigger and must not count twice";
    EXPECT_EQ(
        errors,
        "orvanta: click on tray icon: window gone\norvanta: click on tray icon: window gone\n");
}

}  // namespace
