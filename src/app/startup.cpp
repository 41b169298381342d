#include "app/startup.h"

#include <chrono>
#include <string>

#include "app/form1.h"
#include "app/settings_reader.h"
#include "platform/failure.h"
#include "util/file_utilities.h"
#include "util/text.h"

namespace app {

using platform::resume_next;

namespace {

constexpr std::chrono::milliseconds splash_time{2000};

}  // namespace

Startup::Startup(Form1& form1, const Services& services) : form1_(form1), services_(services) {}

void Startup::Form_Load() {
    form1_.show_splash();
    services_.events.do_events();
    // Wherever events run, the program may have been told to end: then
    // nothing of start-up goes on.
    if (form1_.ending()) {
        return;
    }

    // The splash stays up two seconds by the clock; nothing else runs meanwhile.
    const auto until = services_.clock.steady_now() + splash_time;
    for (auto now = services_.clock.steady_now(); now < until; now = services_.clock.steady_now()) {
        services_.events.sleep_for(until - now);
    }

    if (!check_navigator()) {
        return;
    }
    form1_.talker().reset();
    form1_.clients().clear();

    // From here through the settings check, a failing step is skipped.
    ui::MainWindow& window = form1_.window();
    form1_.tray().show_skipping_failures(window.DISH_RED_X_ICON, "Orvanta... server starting up",
                                         false);
    resume_next([&] { services_.tray.ShowIcon(); });

    if (!read_settings()) {
        return;
    }
    place_window();
    if (!start_listening()) {
        return;
    }
    start_server_and_poll();
}

bool Startup::check_navigator() {
    ui::MainWindow& window = form1_.window();
    const std::string path = util::join_path(form1_.files().GetSystemPath(), "NAVCTRL.OCX");
    form1_.version_record().LoadVersionRecord(path);
    if (form1_.version_record().record().ProductVersion == "2.0") {
        services_.message_box.show(
            window, platform::MessageIcon::Critical, "DirecPC Software Version Error...",
            util::message_lines({"Orvanta only supports DirecPC software v2.20 or higher!",
                                 "(this is due to the differences in the DPC status flags).", "",
                                 "Orvanta will now start but status will be unavailable."}));
        if (form1_.ending()) {
            return false;
        }
        services_.events.do_events();
        if (form1_.ending()) {
            return false;
        }
        window.DPC_Stat_Label.set_caption("NO CARD");
        window.No_DPC_Card_Image.set_visible(true);
        // The splash stays open until the user clicks it away.
        return false;
    }
    window.DPC_Stat_Label.set_caption("NO STAT");
    window.No_Status_Image.set_visible(true);
    return true;
}

bool Startup::read_settings() {
    SettingsReader reader(services_.files, services_.location);
    switch (reader.read(form1_.settings())) {
        case SettingsReadOutcome::Loaded:
            form1_.set_settings_loaded();
            return true;
        case SettingsReadOutcome::Missing:
            settings_missing();
            return false;
        case SettingsReadOutcome::ReadFailure:
            settings_unreadable();
            return false;
    }
    return false;
}

void Startup::place_window() {
    Settings& settings = form1_.settings();
    // A stored 1 is the old way of saying 0.
    if (settings.WINDOW_LEFT == 1) {
        settings.WINDOW_LEFT = 0;
    }
    if (settings.WINDOW_TOP == 1) {
        settings.WINDOW_TOP = 0;
    }
    resume_next([&] { form1_.window().move(settings.WINDOW_LEFT, settings.WINDOW_TOP); });
}

bool Startup::start_listening() {
    try {
        platform::Winsock& listener = form1_.listeners().WS_LISTENER(0);
        listener.Close();
        listener.set_LocalPort(form1_.settings().LISTEN_PORT);
        if (!form1_.server_options().listen_address.empty()) {
            listener.set_LocalAddress(form1_.server_options().listen_address);
        }
        listener.Listen();
        return true;
    } catch (const platform::Failure&) {
        server_failed();
        return false;
    }
}

// Any failure from here on goes to the one reaction; what succeeded stays.
void Startup::start_server_and_poll() {
    ui::MainWindow& window = form1_.window();
    Settings& settings = form1_.settings();
    try {
        for (int i = 1; i <= 10; ++i) {
            form1_.listeners().Load(i);
        }
        form1_.log().write_untrimmed(
            {"     Orvanta started OK", "     Values read from INI file...",
             "      Transmit Port: " + std::to_string(settings.TRANSMIT_PORT),
             "      Listen Port: " + std::to_string(settings.LISTEN_PORT)});
        form1_.tray().show(window.DISH_SERVER_RUNNING_ICON, "Orvanta... server running", false);
        if (settings.STARTUP_IN_MINIMODE) {
            window.set_height(ui::MainWindow::mini_height);
        }
        if (settings.STARTUP_IN_SYSTRAY) {
            start_in_tray();
        }

        form1_.GET_DPC_STATUS();
        if (settings.DPC_HW_POLL_INTERVAL < 5) {
            settings.DPC_HW_POLL_INTERVAL = 5;
        }
        // In whole milliseconds of an int: every 16-bit interval fits.
        form1_.DPC_HW_POLL().set_interval(settings.DPC_HW_POLL_INTERVAL * 1000);
        form1_.DPC_HW_POLL().set_enabled(true);
        form1_.close_splash();
    } catch (const platform::Failure&) {
        server_failed();
    }
}

void Startup::start_in_tray() {
    // Hidden without a tray, the window could only come back by editing
    // Orvanta.ini or ending the program: it stays visible, and the operator
    // is told why. A tray that appears later changes nothing for this run.
    if (services_.tray.available()) {
        form1_.window().set_visible(false);
        return;
    }
    form1_.log().write_untrimmed({"     No system tray found...", "     Window left visible!"});
    services_.console.note(
        "no system tray on this desktop: the window stays visible instead of starting in the "
        "tray");
}

void Startup::settings_missing() {
    ui::MainWindow& window = form1_.window();
    resume_next([&] {
        services_.message_box.show(
            window, platform::MessageIcon::Critical, "INI File Missing...",
            util::message_lines(
                {"The INI file containing the settings for Orvanta is missing...",
                 "(this is normal if it is the first time you have used this program.)", "",
                 "Please go to the settings panel and save new settings."}));
    });
    if (form1_.ending()) {
        return;
    }
    resume_next([&] {
        form1_.log().write_untrimmed(
            {"     INI file does not exist...", "     Goto settings and save!"});
    });
    form1_.tray().show_skipping_failures(window.DISH_RED_X_ICON, "Orvanta... please check settings",
                                         true);
    resume_next([&] { window.DPC_Stat_Label.set_caption("ERROR"); });
    resume_next([&] { window.move(window.left(), 0); });
    resume_next([&] { window.move(0, window.top()); });
    resume_next([&] { form1_.close_splash(); });
}

void Startup::settings_unreadable() {
    ui::MainWindow& window = form1_.window();
    resume_next([&] {
        services_.message_box.show(
            window, platform::MessageIcon::Information, "INI File Error...",
            util::message_lines({"There was an error reading the INI file...",
                                 "please check the current settings."}));
    });
    if (form1_.ending()) {
        return;
    }
    resume_next([&] {
        form1_.log().write_untrimmed(
            {"     Error reading INI file...", "     Check the current settings!"});
    });
    form1_.tray().show_skipping_failures(window.DISH_RED_X_ICON, "Orvanta... please check settings",
                                         true);
    resume_next([&] { form1_.close_splash(); });
}

void Startup::server_failed() {
    resume_next([&] {
        form1_.log().write_untrimmed(
            {"     Error connecting to port: " + std::to_string(form1_.settings().LISTEN_PORT)});
    });
    form1_.tray().show_skipping_failures(form1_.window().DISH_RED_X_ICON,
                                         "Orvanta... server could not be started", true);
    resume_next([&] { form1_.close_splash(); });
}

}  // namespace app
