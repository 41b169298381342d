#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/services.h"
#include "app/settings.h"
#include "app/settings_writer.h"
#include "info/info_windows.h"
#include "info/splash_screen.h"
#include "messaging/received_messages.h"
#include "messaging/send_message.h"
#include "monitor/dial_control.h"
#include "monitor/status_poll.h"
#include "server/client_table.h"
#include "server/listener_sessions.h"
#include "server/listener_sockets.h"
#include "server/request_handler.h"
#include "server/talker.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/status_log.h"
#include "ui/tray_display.h"
#include "ui/window_modes.h"
#include "util/file_utilities.h"
#include "util/ipv4.h"
#include "util/version_record.h"

namespace app {

// Who the server talks to, and where, from orvanta.conf; by default every
// client, on every address.
struct ServerOptions {
    std::string listen_address;
    std::vector<util::Ipv4Block> clients;
};

// The main window as a whole: its controls, sockets and timers, the
// application-wide state, and the subsystems whose handlers they run.
class Form1 {
  public:
    explicit Form1(const Services& services, info::ProgramVersion version = {},
                   ServerOptions server_options = {});
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    // Start-up: runs once, before the window is first shown.
    void Form_Load();
    // Shutdown: runs once, when the window is closed or the program is told
    // to end; the program ends after it.
    void Form_Unload();
    // Whether the shutdown has begun. An end once asked for is final: start-up
    // goes no further, even when the end came while one of its message boxes
    // was open, and the window is never shown.
    bool ending() const { return ending_; }
    // Whether start-up read Orvanta.ini whole. Only then may shutdown write
    // it: a file that failed to read holds values the program never saw.
    bool settings_loaded() const { return settings_loaded_; }
    void set_settings_loaded() { settings_loaded_ = true; }
    // The metrics orvanta.conf asked for could not be served at `where`, as
    // `problem` says: the operator is told in the log and on the console,
    // and the program runs on without them.
    void metrics_unavailable(const std::string& where, const std::string& problem);

    ui::MainWindow& window() { return window_; }
    ui::StatusLog& log() { return log_; }
    ui::TrayDisplay& tray() { return tray_; }
    Settings& settings() { return settings_; }
    monitor::DialControl& dial() { return dial_; }
    server::ListenerSockets& listeners() { return listeners_; }
    platform::Winsock& WS_TALKER() { return *talker_socket_; }
    server::Talker& talker() { return talker_; }
    server::ClientTable& clients() { return clients_; }
    messaging::ReceivedMessages& received_messages() { return received_messages_; }
    messaging::SendMessage& send_message() { return send_message_; }
    void PROCESS_DATA(const std::string& data, const std::string& remote_host_ip) {
        requests_.PROCESS_DATA(data, remote_host_ip);
    }
    // Sweeps closing and broken sessions every 250 ms, from the window's creation.
    platform::Timer& SOCKET_CLOSER_TIMER() { return *closer_timer_; }
    util::VersionRecordReader& version_record() { return version_record_; }
    util::FileUtilities& files() { return file_utilities_; }
    const info::ProgramVersion& version() const { return version_; }
    const ServerOptions& server_options() const { return server_options_; }
    ui::WindowModes& window_modes() { return window_modes_; }
    info::InfoWindows& info_windows() { return info_windows_; }
    ui::OptionsDialog& options() { return options_; }

    void GET_DPC_STATUS() { poll_.GET_DPC_STATUS(); }
    const std::string& DPC_STATUS_CODE() const { return poll_.DPC_STATUS_CODE(); }
    // Polls the link at each tick; disabled, at 5000 ms, until start-up enables it.
    platform::Timer& DPC_HW_POLL() { return *poll_timer_; }

    // The splash screen, while it is open.
    info::SplashScreen* splash() { return splash_.get(); }
    void show_splash();
    // Closes the splash screen if it is still open.
    void close_splash();

  private:
    // The log never keeps the focus; it hands it on to the parking button.
    void STATUS_LIST_GotFocus();
    void DPC_HW_POLL_Timer();

    const Services services_;
    info::ProgramVersion version_;
    ServerOptions server_options_;
    ui::MainWindow window_;
    Settings settings_;
    ui::StatusLog log_;
    ui::TrayDisplay tray_;
    monitor::DialControl dial_;
    monitor::StatusPoll poll_;
    std::unique_ptr<platform::Timer> poll_timer_;
    server::ListenerSockets listeners_;
    std::unique_ptr<platform::Winsock> talker_socket_;
    server::ClientTable clients_;
    server::Talker talker_;
    messaging::ReceivedMessages received_messages_;
    messaging::SendMessage send_message_;
    server::RequestHandler requests_;
    server::ListenerSessions sessions_;
    std::unique_ptr<platform::Timer> closer_timer_;
    util::FileUtilities file_utilities_;
    util::VersionRecordReader version_record_;
    ui::WindowModes window_modes_;
    info::InfoWindows info_windows_;
    app::SettingsWriter settings_writer_;
    ui::OptionsDialog options_;
    std::unique_ptr<info::SplashScreen> splash_;
    bool ending_ = false;
    bool settings_loaded_ = false;
};

}  // namespace app
