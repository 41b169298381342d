#include "ui/options_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/settings_file.h"
#include "fakes/fake_services.h"

namespace {

constexpr const char* ini_path = "/opt/orvanta/Orvanta.ini";

// The panel opened after a first start, which found no Orvanta.ini.
class OptionsDialogTest : public ::testing::Test {
  protected:
    OptionsDialogTest() {
        form1.Form_Load();
        fake.message_box.shown.clear();
        fake.desktop.calls.clear();
        window.SETTINGS_BUTTON.click();
    }

    ui::OptionsForm& options() { return *form1.options().form(); }
    bool open() { return form1.options().form() != nullptr; }
    // The three fields, then the four boxes: save position, redial, mini
    // mode, tray.
    std::string fields() {
        ui::OptionsForm& form = options();
        std::string shown = form.LISTEN_PORT_TEXT.text() + " " + form.TRANSMIT_PORT_TEXT.text() +
                            " " + form.DPC_HW_POLL_INTERVAL_TEXTBOX.text() + " ";
        for (const platform::CheckBox* box :
             {&form.SAVE_WINDOW_POS_CHECKBOX, &form.KEEP_CONNECTED_CHECKBOX,
              &form.STARTUP_IN_MINIMODE_CHECKBOX, &form.STARTUP_IN_SYSTRAY_CHECKBOX}) {
            shown += std::to_string(box->value());
        }
        return shown;
    }
    // The settings that Orvanta.ini holds now.
    app::Settings saved() {
        app::Settings settings;
        EXPECT_TRUE(app::parse_settings(fake.files.entries.at(ini_path).bytes, settings));
        return settings;
    }

    fakes::FakeServices fake;
    app::Form1 form1{fake.services()};
    ui::MainWindow& window = form1.window();
    fakes::FakeTimer& poll_timer = *fake.timers.timers.at(0);
};

TEST_F(OptionsDialogTest, OpensOnTheCommsPageShowingDefaultsOrTheSettingsInUse) {
    EXPECT_FALSE(window.visible());
    EXPECT_FALSE(poll_timer.enabled());
    EXPECT_TRUE(fake.desktop.is_open(options()));
    EXPECT_EQ(fields(), "2509 2519 5 0000");
    EXPECT_TRUE(options().COMMS_FRAME.visible());
    EXPECT_FALSE(options().WINDOW_FRAME.visible() || options().STARTUP_FRAME.visible() ||
                 options().OTHER_OPTIONS_FRAME.visible());
    EXPECT_EQ(form1.settings(), app::Settings{}) << "the settings stay unread until Save";

    options().Cancel_Button.click();
    form1.settings() = {.LISTEN_PORT = 3000,
                        .TRANSMIT_PORT = -7,
                        .SAVE_WINDOW_POS = true,
                        .STARTUP_IN_SYSTRAY = true,
                        .DPC_HW_POLL_INTERVAL = 60};
    window.SETTINGS_BUTTON.click();
    EXPECT_EQ(fields(), "3000 -7 60 1001");
}

TEST_F(OptionsDialogTest, LabelClicksToggleTheirBoxButLeaveAGreyedOne) {
    ui::OptionsForm& form = options();
    form.lbl_REDIAL_IF_DPC_DISCONNECTS.click();
    EXPECT_EQ(form.KEEP_CONNECTED_CHECKBOX.value(), 1);
    form.lbl_REDIAL_IF_DPC_DISCONNECTS.click();
    EXPECT_EQ(form.KEEP_CONNECTED_CHECKBOX.value(), 0);

    form.STARTUP_IN_MINIMODE_CHECKBOX.set_value(platform::CheckBox::greyed);
    form.lbl_ALWAYS_START_MINI_MDOE.click();
    EXPECT_EQ(form.STARTUP_IN_MINIMODE_CHECKBOX.value(), platform::CheckBox::greyed);
}

TEST_F(OptionsDialogTest, SaveTakesEveryPageWritesTheFileAndEnds) {
    ui::OptionsForm& form = options();
    form.LISTEN_PORT_TEXT.typed("3099.5");  // rounded, as the file reader does
    form.OTHER_OPTION_BUTTON.click();
    EXPECT_FALSE(form.COMMS_FRAME.visible());
    EXPECT_TRUE(form.OTHER_OPTIONS_FRAME.visible());
    form.DPC_HW_POLL_INTERVAL_TEXTBOX.typed("2");
    form.lbl_REDIAL_IF_DPC_DISCONNECTS.click();
    form.STARTUP_OPTION_BUTTON.click();
    form.lbl_ALWAYS_START_IN_SYSTRAY.click();
    form.WINDOW_OPTION_BUTTON.click();
    form.Save_Button.click();

    const app::Settings expected{.LISTEN_PORT = 3100,
                                 .TRANSMIT_PORT = 2519,
                                 .KEEP_CONNECTED = true,
                                 .STARTUP_IN_SYSTRAY = true,
                                 .DPC_HW_POLL_INTERVAL = 2};
    EXPECT_EQ(saved(), expected);
    EXPECT_EQ(form1.settings(), expected);
    ASSERT_EQ(fake.message_box.shown.size(), 1U);
    EXPECT_EQ(fake.message_box.shown[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(fake.message_box.shown[0].title, "Settings Saved...");
    EXPECT_EQ(fake.message_box.shown[0].text, "Orvanta settings saved, now exiting.");
    EXPECT_FALSE(open());
    EXPECT_EQ(fake.desktop.calls,
              (std::vector<std::string>{"open Options", "close Options", "quit"}));
}

TEST_F(OptionsDialogTest, FieldsThatCannotBeStoredAreRefusedAndNothingChanges) {
    struct Case {
        platform::TextBox ui::OptionsForm::*field;
        const char* text;
        const char* named;
    };
    const Case cases[] = {
        {&ui::OptionsForm::LISTEN_PORT_TEXT, "abc", "Receive port"},
        {&ui::OptionsForm::LISTEN_PORT_TEXT, "0", "Receive port"},
        {&ui::OptionsForm::TRANSMIT_PORT_TEXT, "40000", "Transmit port"},
        {&ui::OptionsForm::TRANSMIT_PORT_TEXT, "-2519", "Transmit port"},
        {&ui::OptionsForm::DPC_HW_POLL_INTERVAL_TEXTBOX, "40000", "status update interval"},
        {&ui::OptionsForm::DPC_HW_POLL_INTERVAL_TEXTBOX, "5 s", "status update interval"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ui::OptionsForm& form = options();
        form.lbl_SAVE_WINDOW_POS.click();
        (form.*c.field).typed(c.text);
        fake.message_box.shown.clear();
        form.Save_Button.click();

        ASSERT_EQ(fake.message_box.shown.size(), 1U);
        const auto& box = fake.message_box.shown[0];
        EXPECT_EQ(box.icon, platform::MessageIcon::Information);
        EXPECT_EQ(box.title, "Invalid Setting...");
        EXPECT_EQ(box.text.rfind(std::string("The ") + c.named + " must be\n\ra number ", 0), 0U)
            << box.text;
        EXPECT_EQ((form.*c.field).text(), c.text);
        EXPECT_FALSE(fake.files.contains(ini_path));
        EXPECT_EQ(form1.settings(), app::Settings{});
        ASSERT_TRUE(open());
        EXPECT_EQ(std::ranges::count(fake.desktop.calls, "quit"), 0);
        form.Cancel_Button.click();
        window.SETTINGS_BUTTON.click();
    }
}

TEST_F(OptionsDialogTest, ReadOnlyFileShowsTheWriteErrorAndKeepsTheDialogWithEmptyFieldsFilled) {
    fake.files.put(ini_path, "kept");
    fake.files.entries[ini_path].writable = false;
    options().LISTEN_PORT_TEXT.typed("");
    options().TRANSMIT_PORT_TEXT.typed("");
    options().DPC_HW_POLL_INTERVAL_TEXTBOX.typed("");
    options().Save_Button.click();

    ASSERT_EQ(fake.message_box.shown.size(), 1U);
    EXPECT_EQ(fake.message_box.shown[0].title, "INI File Error...");
    EXPECT_EQ(fake.message_box.shown[0].text,
              "There was an error writing to the INI file...\n\r"
              "please check that it is not set to Read Only.\n\r\n\r"
              "Also check that you have sufficient privledges\n\r"
              "to modify the file.\n\r\n\r"
              "If that fails delete the INI file, re-start\n\r"
              "Orvanta and goto the settings panel.");
    EXPECT_EQ(fake.files.entries[ini_path].bytes, "kept");
    ASSERT_TRUE(open());
    EXPECT_EQ(std::ranges::count(fake.desktop.calls, "quit"), 0);
    EXPECT_EQ(fields(), "2509 2519 5 0000");
    EXPECT_EQ(form1.settings().LISTEN_PORT, 2509);  // taken from the dialog all the same

    fake.files.entries[ini_path].writable = true;
    options().Save_Button.click();
    EXPECT_EQ(saved(), (app::Settings{
                           .LISTEN_PORT = 2509, .TRANSMIT_PORT = 2519, .DPC_HW_POLL_INTERVAL = 5}));
}

TEST_F(OptionsDialogTest, ASecondOpeningKeepsWhatWasTypedAndClosingBringsBackWindowAndPoll) {
    options().LISTEN_PORT_TEXT.typed("2600");
    fake.tray.click();
    window.SETTINGS_BUTTON.click();
    EXPECT_EQ(options().LISTEN_PORT_TEXT.text(), "2600");
    EXPECT_EQ(fake.desktop.calls.back(), "front Options");

    options().Cancel_Button.click();
    EXPECT_FALSE(open());
    EXPECT_TRUE(window.visible());
    // On even though start-up, without settings, never switched it on.
    EXPECT_TRUE(poll_timer.enabled());
    EXPECT_EQ(poll_timer.interval(), 5000);
    EXPECT_EQ(form1.settings(), app::Settings{});
    EXPECT_FALSE(fake.files.contains(ini_path));

    window.SETTINGS_BUTTON.click();
    EXPECT_EQ(options().LISTEN_PORT_TEXT.text(), "2509");  // loaded afresh
    options().close_requested();
    EXPECT_FALSE(open());
    EXPECT_TRUE(window.visible());
    EXPECT_TRUE(poll_timer.enabled());
}

TEST_F(OptionsDialogTest, WebLinkOpensTheSiteAndAFailureShowsNothing) {
    options().WEBLINK_LABEL.click();
    EXPECT_EQ(fake.shell.opened, std::vector<std::string>{"https://orvanta.example.org/"});

    fake.shell.fault.always();
    options().WEBLINK_LABEL.click();
    EXPECT_TRUE(fake.message_box.shown.empty());
    EXPECT_TRUE(open());
}

}  // namespace
