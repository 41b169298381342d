#include "info/version_label.h"

#include <gtest/gtest.h>

#include "info/about_box.h"
#include "info/splash_screen.h"

namespace {

TEST(VersionLabelTest, PointOnlyBetweenMajorAndMinor) {
    EXPECT_EQ(info::version_caption({1, 0, 0}), "v1.00");
    EXPECT_EQ(info::version_caption({1, 2, 15}), "v1.215");
    EXPECT_EQ(info::version_caption({10, 0, 3}), "v10.03");
}

TEST(VersionLabelTest, BothWindowsShowTheVersionOverTheirPicture) {
    const info::SplashScreen splash({2, 1, 0});
    const info::AboutBox about({2, 1, 0});
    EXPECT_EQ(splash.lblVERSION.caption(), "v2.10");
    EXPECT_EQ(about.lblVERSION.caption(), "v2.10");
    EXPECT_TRUE(splash.lblVERSION.transparent());
    EXPECT_EQ(splash.caption(), "");
    EXPECT_EQ(about.caption(), "About Orvanta");
}

}  // namespace
