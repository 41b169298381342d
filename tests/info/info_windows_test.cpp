#include "info/info_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_desktop.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_services.h"
#include "fakes/fake_version_info.h"
#include "info/version_label.h"
#include "ui/main_window.h"

namespace {

using Strings = std::vector<std::string>;
constexpr const char* us_unicode = "040904B0";

class InfoWindowsTest : public ::testing::Test {
  protected:
    InfoWindowsTest() {
        window.set_visible(true);
        version_info.set_translations({0x09, 0x04, 0xB0, 0x04});
        version_info.set_string(us_unicode, "FileDescription", "Navigator control");
        version_info.set_string(us_unicode, "FileVersion", "2.20.0.3");
        version_info.set_string(us_unicode, "ProductVersion", "2.20");
    }

    // What the window shows: name, description, version, location.
    Strings shown() const {
        const info::DpcInfoForm& form = *windows.dpc_info();
        return {form.lbl_NAV_CONTROL_NAME.caption(), form.lbl_NAV_CONTROL_DESC.caption(),
                form.lbl_NAV_CONTROL_VERSION.caption(), form.lbl_DPC_OCX_LOCATION.caption()};
    }

    fakes::FakeFileSystem files;
    fakes::FakeProgramLocation location;  // the system directory: /opt/orvanta
    fakes::FakeVersionInfo version_info;
    fakes::FakeDesktop desktop;
    util::FileUtilities file_utilities{files, location};
    ui::MainWindow window;
    info::InfoWindows windows{
        desktop, file_utilities, version_info, {1, 0, 0}, window.TAB_STOP_ZERO};
};

TEST_F(InfoWindowsTest, FileInTheSystemDirectoryIsShownWithItOtherwiseTheFixedFolderIsRead) {
    windows.SMALL_DPC_LOGO_Click();
    EXPECT_EQ(shown(),
              (Strings{"NAVCTRL.OCX", "Navigator control", "2.20.0.3", "/opt/DirecPC/Bin"}));
    EXPECT_EQ(version_info.files_read, Strings{"/opt/DirecPC/Bin/NAVCTRL.OCX"});

    windows.dpc_info()->close_requested();
    files.put("/opt/orvanta/NAVCTRL.OCX", "");
    windows.SMALL_DPC_LOGO_Click();
    ASSERT_NE(windows.dpc_info(), nullptr);
    EXPECT_TRUE(desktop.is_open(*windows.dpc_info()));
    EXPECT_EQ(shown(), (Strings{"NAVCTRL.OCX", "Navigator control", "2.20.0.3", "/opt/orvanta"}));
    EXPECT_EQ(version_info.files_read.back(), "/opt/orvanta/NAVCTRL.OCX");
    // The label may have to shorten a long folder; its tooltip never does.
    EXPECT_EQ(windows.dpc_info()->lbl_DPC_OCX_LOCATION.tooltip(), "/opt/orvanta");
}

TEST_F(InfoWindowsTest, ABlankProductVersionLeavesTheDesignCaptionsThoughTheRecordWasRead) {
    version_info.set_string(us_unicode, "ProductVersion", "");
    windows.SMALL_DPC_LOGO_Click();
    EXPECT_EQ(shown(), (Strings{"<name>", "<description>", "<version>", "/opt/DirecPC/Bin"}));
}

TEST_F(InfoWindowsTest, OpenWindowComesForwardAndReadsAgainOnlyOnceReopened) {
    windows.SMALL_DPC_LOGO_Click();
    version_info.set_string(us_unicode, "FileVersion", "2.30");
    windows.SMALL_DPC_LOGO_Click();
    EXPECT_EQ(version_info.files_read.size(), 1U);
    EXPECT_EQ(shown()[2], "2.20.0.3");
    EXPECT_EQ(desktop.calls.back(), "front DPC_INFO_FORM");

    windows.dpc_info()->close_requested();
    EXPECT_EQ(windows.dpc_info(), nullptr);
    EXPECT_TRUE(desktop.open_forms.empty());
    windows.SMALL_DPC_LOGO_Click();
    EXPECT_EQ(version_info.files_read.size(), 2U);
    EXPECT_EQ(shown()[2], "2.30");
}

TEST_F(InfoWindowsTest, AboutButtonParksTheFocusAndOpensOneAboutBox) {
    window.focus_received(window.ABOUT_BUTTON);
    windows.ABOUT_BUTTON_Click();
    ASSERT_NE(windows.about_box(), nullptr);
    EXPECT_TRUE(window.TAB_STOP_ZERO.has_focus());
    EXPECT_EQ(windows.about_box()->lblVERSION.caption(), "v1.00");

    const info::AboutBox* first = windows.about_box();
    windows.ABOUT_BUTTON_Click();
    EXPECT_EQ(windows.about_box(), first);
    EXPECT_EQ(desktop.calls, (Strings{"open ABOUT_FORM", "front ABOUT_FORM"}));

    windows.about_box()->close_requested();
    EXPECT_EQ(windows.about_box(), nullptr);
    EXPECT_EQ(desktop.calls.back(), "close ABOUT_FORM");
}

TEST(VersionLabelTest, PointOnlyBetweenMajorAndMinor) {
    EXPECT_EQ(info::version_caption({1, 2, 15}), "v1.215");
    EXPECT_EQ(info::version_caption({10, 0, 3}), "v10.03");
}

}  // namespace
