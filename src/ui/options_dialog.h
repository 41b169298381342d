#pragma once

#include "app/settings.h"
#include "app/settings_writer.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "ui/main_window.h"
#include "ui/options_form.h"
#include "ui/single_window.h"

namespace ui {

// The settings panel at work. Opening it stops the status poll and hides
// the main window; Cancel brings both back, Save writes Orvanta.ini and ends
// the program, so that the new settings take effect at the next start.
class OptionsDialog {
  public:
    struct Parts {
        MainWindow& window;
        platform::Timer& poll_timer;
        app::Settings& settings;
        const app::SettingsWriter& writer;
        platform::Desktop& desktop;
        platform::MessageBox& message_box;
        platform::Shell& shell;
    };

    explicit OptionsDialog(const Parts& parts);

    void SETTINGS_BUTTON_Click();

    // The dialog, while it is open.
    OptionsForm* form() const { return options_.form(); }

  private:
    // Fills the fields from the settings; a setting still 0 shows its default.
    void Form_Load(OptionsForm& form) const;
    void Cancel_Button_Click();
    void Save_Button_Click();
    void WEBLINK_LABEL_Click();

    Parts parts_;
    SingleWindow<OptionsForm> options_;
};

}  // namespace ui
