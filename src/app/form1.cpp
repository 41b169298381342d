#include "app/form1.h"

#include "app/shutdown.h"
#include "app/startup.h"
#include "platform/failure.h"

namespace app {

Form1::Form1(const Services& services, info::ProgramVersion version, ServerOptions server_options)
    : services_(services),
      version_(version),
      server_options_(std::move(server_options)),
      log_(window_.STATUS_LIST, services.clock),
      tray_(services.tray),
      dial_(services.navigator, log_, window_.TAB_STOP_ZERO, window_.TIME_LAST_ISP_CONNECT_LABEL,
            services.clock, services.metrics),
      poll_(services.navigator, log_, window_, tray_, dial_, settings_, services.clock,
            services.metrics),
      poll_timer_(services.timers.create_timer()),
      listeners_(services.network),
      talker_socket_(services.network.create_socket()),
      talker_(
          *talker_socket_, log_, services.events, [this] { return poll_.DPC_STATUS_CODE(); },
          window_.TIME_LAST_ISP_CONNECT_LABEL, services.metrics),
      received_messages_(services.desktop, services.clock, tray_, window_),
      send_message_(services.desktop, log_, talker_, services.events, clients_,
                    window_.TAB_STOP_ZERO),
      requests_(clients_, window_, log_, talker_, settings_, dial_, received_messages_, tray_,
                services.metrics),
      sessions_(listeners_, log_, services.events, services.clock, services.metrics,
                [this](const std::string& data, const std::string& address) {
                    requests_.PROCESS_DATA(data, address);
                }),
      closer_timer_(services.timers.create_timer()),
      file_utilities_(services.files, services.location),
      version_record_(services.version_info),
      window_modes_(window_),
      info_windows_(services.desktop, file_utilities_, services.version_info, version_,
                    window_.TAB_STOP_ZERO),
      settings_writer_(services.files, services.location, services.clock),
      options_({.window = window_,
                .poll_timer = *poll_timer_,
                .settings = settings_,
                .writer = settings_writer_,
                .desktop = services.desktop,
                .message_box = services.message_box,
                .shell = services.shell}) {
    window_.CONNECT_BUTTON.on_click([this] { dial_.CONNECT_BUTTON_Click(); });
    window_.DISCONNECT_BUTTON.on_click([this] { dial_.DISCONNECT_BUTTON_Click(); });
    window_.STATUS_LIST.on_got_focus([this] { STATUS_LIST_GotFocus(); });
    window_.SETTINGS_BUTTON.on_click([this] { options_.SETTINGS_BUTTON_Click(); });
    window_.WINDOW_MODE_BUTTON.on_click([this] { window_modes_.WINDOW_MODE_BUTTON_Click(); });
    window_.SEND_MESSAGE_BUTTON.on_click([this] { send_message_.SEND_MESSAGE_BUTTON_Click(); });
    window_.ABOUT_BUTTON.on_click([this] { info_windows_.ABOUT_BUTTON_Click(); });
    window_.SMALL_DPC_LOGO.on_click([this] { info_windows_.SMALL_DPC_LOGO_Click(); });
    window_.SEND_STATUS_BUTTON.on_click(
        [this] { talker_.SEND_STATUS_BUTTON_Click(settings_.TRANSMIT_PORT); });
    window_.on_close_request([this] {
        Form_Unload();
        services_.desktop.quit();
    });

    poll_timer_->set_interval(5000);
    poll_timer_->set_enabled(false);
    poll_timer_->on_tick([this] { DPC_HW_POLL_Timer(); });
    services.tray.on_IconClicked([this] { window_modes_.TRAY_ICON_IconClicked(); });

    sessions_.only_talk_to(server::ClientFilter(server_options_.clients));

    closer_timer_->set_interval(250);
    closer_timer_->on_tick([this] { sessions_.SOCKET_CLOSER_TIMER_Timer(); });
    closer_timer_->set_enabled(true);

    // The start-up window is shown once its load has run, unless start-up hides it.
    window_.set_visible(true);
}

Form1::~Form1() {
    close_splash();
}

void Form1::Form_Load() {
    // The splash is kept above other programs only while start-up runs; one
    // left open (the navigator was refused) goes behind them like any window.
    const auto lower_splash = [this] {
        if (splash_) {
            splash_->set_stays_on_top(false);
        }
    };
    try {
        Startup(*this, services_).Form_Load();
    } catch (...) {
        lower_splash();
        throw;
    }
    lower_splash();
}

void Form1::Form_Unload() {
    if (ending_) {
        return;
    }
    ending_ = true;
    Shutdown(*this, services_).Form_Unload();
}

void Form1::metrics_unavailable(const std::string& where, const std::string& problem) {
    log_.write("     Metrics not available...", "     (Cant listen on " + where + ")");
    services_.console.note("metrics: " + problem + "; running without metrics");
}

void Form1::show_splash() {
    if (splash_) {
        return;
    }
    splash_ = std::make_unique<info::SplashScreen>(version_);
    splash_->set_stays_on_top(true);
    // A click on the picture or a key closes it at once.
    splash_->on_click([this] { close_splash(); });
    splash_->on_key_press([this] { close_splash(); });
    splash_->on_close_request([this] { close_splash(); });
    splash_->set_visible(true);
    services_.desktop.open(*splash_);
}

void Form1::close_splash() {
    if (!splash_) {
        return;
    }
    services_.desktop.close(*splash_);
    splash_.reset();
}

void Form1::STATUS_LIST_GotFocus() {
    platform::resume_next([this] { window_.TAB_STOP_ZERO.set_focus(); });
}

void Form1::DPC_HW_POLL_Timer() {
    // A navigator that fails mid-poll ends this tick without further change;
    // the next tick polls again.
    platform::resume_next([this] { poll_.GET_DPC_STATUS(); });
}

}  // namespace app
