#include "server/request_handler.h"

namespace server {

RequestHandler::RequestHandler(ClientTable& clients, ui::MainWindow& window, ui::StatusLog& log,
                               Talker& talker, const app::Settings& settings,
                               monitor::DialControl& dial, messaging::ReceivedMessages& messages,
                               ui::TrayDisplay& tray, platform::Metrics& metrics)
    : clients_(clients),
      window_(window),
      log_(log),
      talker_(talker),
      settings_(settings),
      dial_(dial),
      messages_(messages),
      tray_(tray),
      metrics_(metrics) {}

void RequestHandler::PROCESS_DATA(const std::string& data, const std::string& remote_host_ip) {
    clients_.record(remote_host_ip);
    // The count as text with its sign position: a blank, then the digits.
    std::string count = " ";
    count += std::to_string(clients_.NUM_CLIENTS());
    window_.NUM_CLIENTS_LABEL.set_caption(count);
    metrics_.clients_known(clients_.NUM_CLIENTS());

    const std::string keyword = data.substr(0, 6);
    metrics_.request(keyword);
    if (keyword == "STATUS") {
        log_request("     Status report was requested", remote_host_ip);
        talker_.start_status(remote_host_ip, settings_.TRANSMIT_PORT);
    } else if (keyword == "CONNEC") {
        log_request("     Connect was requested", remote_host_ip);
        dial_.CONNECT_BUTTON_Click(monitor::DialControl::DialOrigin::Client);
    } else if (keyword == "DISCON") {
        log_request("     Disconnect was requested", remote_host_ip);
        dial_.DISCONNECT_BUTTON_Click(monitor::DialControl::HangUpOrigin::Client);
    } else if (keyword == "MESSAG") {
        log_request("     Message received from client", remote_host_ip);
        messages_.show_message(remote_host_ip, data.substr(6));
        tray_.show(window_.DISH_MESSAGE_ICON, "Orvanta... message received", true);
    }
}

void RequestHandler::log_request(const std::string& message, const std::string& remote_host_ip) {
    log_.write(message, "     (IP:" + remote_host_ip + ")");
}

}  // namespace server
