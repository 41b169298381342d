#include "ui/options_dialog.h"

#include <memory>
#include <optional>
#include <string>

#include "platform/failure.h"
#include "util/text.h"
#include "util/value_conversion.h"

namespace ui {

using platform::resume_next;

namespace {

int box_value(bool setting) {
    return setting ? platform::CheckBox::ticked : platform::CheckBox::cleared;
}

// The field's number when it lies within [low, high].
std::optional<std::int16_t> number_in(const platform::TextBox& field, int low, int high) {
    const std::optional<std::int16_t> number = util::parse_integer16(field.text());
    if (!number || *number < low || *number > high) {
        return std::nullopt;
    }
    return number;
}

constexpr int lowest_port = 1;
constexpr int highest_port = 32767;

}  // namespace

OptionsDialog::OptionsDialog(const Parts& parts) : parts_(parts), options_(parts.desktop) {}

void OptionsDialog::SETTINGS_BUTTON_Click() {
    resume_next([this] { parts_.window.TAB_STOP_ZERO.set_focus(); });
    resume_next([this] { parts_.poll_timer.set_enabled(false); });
    resume_next([this] { parts_.window.set_visible(false); });
    resume_next([this] {
        options_.show(
            [this] {
                auto form = std::make_unique<OptionsForm>();
                form->Cancel_Button.on_click([this] { Cancel_Button_Click(); });
                form->Save_Button.on_click([this] { Save_Button_Click(); });
                form->WEBLINK_LABEL.on_click([this] { WEBLINK_LABEL_Click(); });
                Form_Load(*form);
                return form;
            },
            // The window manager's close button cancels: the main window
            // and the poll always come back.
            [this] { Cancel_Button_Click(); });
    });
}

void OptionsDialog::Form_Load(OptionsForm& form) const {
    const app::Settings& settings = parts_.settings;
    form.LISTEN_PORT_TEXT.set_text(util::format_integer16(settings.LISTEN_PORT));
    form.TRANSMIT_PORT_TEXT.set_text(util::format_integer16(settings.TRANSMIT_PORT));
    form.SAVE_WINDOW_POS_CHECKBOX.set_value(box_value(settings.SAVE_WINDOW_POS));
    form.KEEP_CONNECTED_CHECKBOX.set_value(box_value(settings.KEEP_CONNECTED));
    form.STARTUP_IN_MINIMODE_CHECKBOX.set_value(box_value(settings.STARTUP_IN_MINIMODE));
    form.STARTUP_IN_SYSTRAY_CHECKBOX.set_value(box_value(settings.STARTUP_IN_SYSTRAY));
    form.DPC_HW_POLL_INTERVAL_TEXTBOX.set_text(
        util::format_integer16(settings.DPC_HW_POLL_INTERVAL));
    // Settings never read (no Orvanta.ini yet) are 0; offer the defaults.
    if (settings.LISTEN_PORT == 0) {
        form.LISTEN_PORT_TEXT.set_text("2509");
    }
    if (settings.TRANSMIT_PORT == 0) {
        form.TRANSMIT_PORT_TEXT.set_text("2519");
    }
    if (settings.DPC_HW_POLL_INTERVAL == 0) {
        form.DPC_HW_POLL_INTERVAL_TEXTBOX.set_text("5");
    }
}

void OptionsDialog::Cancel_Button_Click() {
    // On even if start-up had left it off.
    resume_next([this] { parts_.poll_timer.set_enabled(true); });
    resume_next([this] { parts_.window.set_visible(true); });
    options_.close();
}

void OptionsDialog::Save_Button_Click() {
    OptionsForm& form = *options_.form();
    if (form.LISTEN_PORT_TEXT.text().empty()) {
        form.LISTEN_PORT_TEXT.set_text("2509");
    }
    if (form.TRANSMIT_PORT_TEXT.text().empty()) {
        form.TRANSMIT_PORT_TEXT.set_text("2519");
    }
    // A field that cannot be stored is refused before anything changes, and
    // stays as typed for the user to correct. A port of 0 or below would have
    // the next start listen on no port or a random one.
    // The texts say what is checked: a fraction is accepted and rounded.
    const auto refuse = [this, &form](const char* field, const char* accepted) {
        parts_.message_box.show(form, platform::MessageIcon::Information, "Invalid Setting...",
                                util::message_lines({std::string("The ") + field + " must be",
                                                     accepted, "", "Nothing has been saved."}));
    };
    const auto listen_port = number_in(form.LISTEN_PORT_TEXT, lowest_port, highest_port);
    if (!listen_port) {
        refuse("Receive port", "a number from 1 to 32767.");
        return;
    }
    const auto transmit_port = number_in(form.TRANSMIT_PORT_TEXT, lowest_port, highest_port);
    if (!transmit_port) {
        refuse("Transmit port", "a number from 1 to 32767.");
        return;
    }
    if (form.DPC_HW_POLL_INTERVAL_TEXTBOX.text().empty()) {
        form.DPC_HW_POLL_INTERVAL_TEXTBOX.set_text("5");
    }
    // Below 5 is stored as typed; the next start polls every 5 seconds.
    const auto interval = number_in(form.DPC_HW_POLL_INTERVAL_TEXTBOX, -32768, 32767);
    if (!interval) {
        refuse("status update interval", "a number of seconds up to 32767 (below 5 counts as 5).");
        return;
    }

    app::Settings& settings = parts_.settings;
    settings.LISTEN_PORT = *listen_port;
    settings.TRANSMIT_PORT = *transmit_port;
    settings.SAVE_WINDOW_POS = form.SAVE_WINDOW_POS_CHECKBOX.value() != 0;
    settings.KEEP_CONNECTED = form.KEEP_CONNECTED_CHECKBOX.value() != 0;
    settings.STARTUP_IN_MINIMODE = form.STARTUP_IN_MINIMODE_CHECKBOX.value() != 0;
    settings.STARTUP_IN_SYSTRAY = form.STARTUP_IN_SYSTRAY_CHECKBOX.value() != 0;
    settings.DPC_HW_POLL_INTERVAL = *interval;
    // The window's place is stored as start-up read it, not where it is now.

    if (!parts_.writer.write(settings)) {
        parts_.message_box.show(
            form, platform::MessageIcon::Information, "INI File Error...",
            util::message_lines({"There was an error writing to the INI file...",
                                 "please check that it is not set to Read Only.", "",
                                 "Also check that you have sufficient privledges",
                                 "to modify the file.", "",
                                 "If that fails delete the INI file, re-start",
                                 "Orvanta and goto the settings panel."}));
        return;
    }
    parts_.message_box.show(form, platform::MessageIcon::Information, "Settings Saved...",
                            "Orvanta settings saved, now exiting.");
    // The program ends here, without the usual shutdown: the file is written
    // already, and the sockets go with the process.
    options_.close();
    parts_.desktop.quit();
}

void OptionsDialog::WEBLINK_LABEL_Click() {
    // Nothing is shown when no browser can be started.
    resume_next([this] { parts_.shell.open_address(OptionsForm::web_address); });
}

}  // namespace ui
