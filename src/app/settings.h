#pragma once

#include <cstdint>

namespace app {

// The application-wide settings kept in Orvanta.ini, in the file's order.
struct Settings {
    std::int16_t LISTEN_PORT = 0;    // the remote control's receive port
    std::int16_t TRANSMIT_PORT = 0;  // the remote control's transmit port
    std::int16_t WINDOW_LEFT = 0;    // the main window's position, in twips
    std::int16_t WINDOW_TOP = 0;
    bool SAVE_WINDOW_POS = false;  // store the window's position on exit
    bool KEEP_CONNECTED = false;   // redial whenever the link drops
    bool STARTUP_IN_MINIMODE = false;
    bool STARTUP_IN_SYSTRAY = false;
    std::int16_t DPC_HW_POLL_INTERVAL = 0;  // how often the hardware status is polled

    bool operator==(const Settings&) const = default;
};

}  // namespace app
