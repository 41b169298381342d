#pragma once

#include "app/services.h"

namespace app {

class Form1;

// The main window's load: splash screen, the navigator's version check, the
// settings, the server's sockets, the first poll and the poll timer. It ends
// early, with the window still usable, when the navigator is too old, the
// settings are missing or unreadable, or a server step fails.
class Startup {
  public:
    Startup(Form1& form1, const Services& services);

    void Form_Load();

  private:
    // Each returns false when start-up ends there.
    bool check_navigator();
    bool read_settings();
    void place_window();
    bool start_listening();
    void start_server_and_poll();
    void start_in_tray();

    void settings_missing();
    void settings_unreadable();
    void server_failed();

    Form1& form1_;
    const Services& services_;
};

}  // namespace app
