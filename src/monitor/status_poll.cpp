#include "monitor/status_poll.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/failure.h"

namespace monitor {

namespace {

constexpr platform::Color lamp_green = platform::Color::rgb(0, 255, 0);
constexpr platform::Color lamp_red = platform::Color::rgb(255, 0, 0);

enum class TrayPicture { Connected, Disconnected, ServerRunning, Cloud };

}  // namespace

// One line of the classification table.
struct StatusRow {
    std::int16_t signal;
    std::int16_t connection;
    const char* code;
    // Which state pictures show; every row hides the "no card" and "no status" ones.
    bool dialing;
    bool connected;
    bool disconnected;
    bool no_signal;
    const char* word;
    TrayPicture tray_picture;
    const char* tooltip;
    bool attention;
    bool redials;  // when the link should be kept up
};

namespace {

using Row = StatusRow;

constexpr const char* no_signal_tooltip = "Orvanta... Internet not available - No Signal";

// The classification of every (signal, connection) pair the navigator
// reports. Pairs not listed change nothing but the lamp.
constexpr std::array<Row, 7> table{{
    {1, 1, "STATUS-CONNSIGOK", false, true, false, false, "ONLINE", TrayPicture::Connected,
     "Orvanta... Online - Internet available", false, false},
    {1, 2, "STATUS-DISCSIGOK", false, false, true, false, "OFFLINE", TrayPicture::Disconnected,
     "Orvanta... Offline - Internet not available", false, true},
    {1, 3, "STATUS-DIALSIGOK", true, true, false, false, "DIALING", TrayPicture::ServerRunning,
     "Orvanta... Dialing", false, false},
    {3, 0, "STATUS-CONNNOSIG", false, false, false, true, "ONLINE", TrayPicture::Cloud,
     no_signal_tooltip, true, false},
    {3, 1, "STATUS-CONNNOSIG", false, false, false, true, "ONLINE", TrayPicture::Cloud,
     no_signal_tooltip, true, false},
    {3, 2, "STATUS-DISCNOSIG", false, false, false, true, "OFFLINE", TrayPicture::Cloud,
     no_signal_tooltip, true, false},
    {3, 3, "STATUS-DIALSIGOK", true, false, false, false, "DIALING", TrayPicture::Cloud,
     "Orvanta... No Signal - Dialing", true, false},
}};

const Row* classify(std::int16_t signal, std::int16_t connection) {
    for (const Row& row : table) {
        if (row.signal == signal && row.connection == connection) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

StatusPoll::StatusPoll(platform::Navigator& navigator, ui::StatusLog& log, ui::MainWindow& window,
                       ui::TrayDisplay& tray, DialControl& dial, const app::Settings& settings,
                       const platform::Clock& clock, platform::Metrics& metrics)
    : navigator_(navigator),
      log_(log),
      window_(window),
      tray_(tray),
      dial_(dial),
      settings_(settings),
      clock_(clock),
      metrics_(metrics) {}

std::int16_t StatusPoll::read(std::int16_t (platform::Navigator::*property)()) {
    try {
        return (navigator_.*property)();
    } catch (const platform::Failure&) {
        metrics_.poll_failed();
        throw;
    }
}

void StatusPoll::GET_DPC_STATUS() {
    // Written before the navigator is read, whatever it then reports.
    log_.write("     DPC status collected");

    const std::int16_t signal = read(&platform::Navigator::SignalStatus);
    platform::Color lamp;
    if (signal == 1) {
        lamp = lamp_green;
    } else if (signal == 3) {
        lamp = lamp_red;
    } else {
        return;
    }
    window_.SIGNAL_QUALITY_LED.set_fill_color(lamp);

    const Row* row = classify(signal, read(&platform::Navigator::ConnectionStatus));
    if (row == nullptr) {
        return;
    }
    show(*row, lamp);
    // Connected and dialing as the state word says, so that the figures
    // agree with the window: no signal with a connection value of 0 is online.
    metrics_.link_polled(std::string_view(row->word) == "ONLINE",
                         std::string_view(row->word) == "DIALING", signal == 1, row->code,
                         clock_.unix_time());

    // While the link stays down with the signal present, every poll dials anew.
    if (row->redials && settings_.KEEP_CONNECTED) {
        dial_.CONNECT_BUTTON_Click(DialControl::DialOrigin::Redial);
    }
}

void StatusPoll::show(const StatusRow& row, platform::Color lamp) {
    status_code_ = row.code;
    window_.Dialing_Image.set_visible(row.dialing);
    window_.No_DPC_Card_Image.set_visible(false);
    window_.No_Signal_Image.set_visible(row.no_signal);
    window_.Connected_Image.set_visible(row.connected);
    window_.Disconnected_Image.set_visible(row.disconnected);
    window_.No_Status_Image.set_visible(false);
    window_.DPC_Stat_Label.set_caption(row.word);
    window_.SIGNAL_QUALITY_LED.set_fill_color(lamp);

    const platform::Image* picture_box = nullptr;
    switch (row.tray_picture) {
        case TrayPicture::Connected:
            picture_box = &window_.DISH_CONNECTED_ICON;
            break;
        case TrayPicture::Disconnected:
            picture_box = &window_.DISH_DISCONNECTED_ICON;
            break;
        case TrayPicture::ServerRunning:
            picture_box = &window_.DISH_SERVER_RUNNING_ICON;
            break;
        case TrayPicture::Cloud:
            picture_box = &window_.DISH_CLOUD_ICON;
            break;
    }
    tray_.show(*picture_box, row.tooltip, row.attention);
}

}  // namespace monitor
