#pragma once

#include <string>

#include "app/settings.h"
#include "messaging/received_messages.h"
#include "monitor/dial_control.h"
#include "platform/metrics.h"
#include "server/client_table.h"
#include "server/talker.h"
#include "ui/main_window.h"
#include "ui/status_log.h"
#include "ui/tray_display.h"

namespace server {

// Interprets one client's request: records its address, then acts on the
// first six characters (STATUS, CONNEC, DISCON or MESSAG, compared exactly).
class RequestHandler {
  public:
    RequestHandler(ClientTable& clients, ui::MainWindow& window, ui::StatusLog& log, Talker& talker,
                   const app::Settings& settings, monitor::DialControl& dial,
                   messaging::ReceivedMessages& messages, ui::TrayDisplay& tray,
                   platform::Metrics& metrics);

    void PROCESS_DATA(const std::string& data, const std::string& remote_host_ip);

  private:
    void log_request(const std::string& message, const std::string& remote_host_ip);

    ClientTable& clients_;
    ui::MainWindow& window_;
    ui::StatusLog& log_;
    Talker& talker_;
    const app::Settings& settings_;
    monitor::DialControl& dial_;
    messaging::ReceivedMessages& messages_;
    ui::TrayDisplay& tray_;
    platform::Metrics& metrics_;
};

}  // namespace server
