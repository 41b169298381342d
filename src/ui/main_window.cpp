#include "ui/main_window.h"

namespace ui {

namespace {
const platform::Font label_font{"Arial", 6.75, false};
const platform::Font log_font{"Verdana", 5.25, true};
}  // namespace

MainWindow::MainWindow() : platform::Form("Form1") {
    set_caption("Orvanta");
    set_client_size(2415, 4125);
    set_back_color(platform::colors::black);

    // Beyond the right edge: it only parks the keyboard focus.
    TAB_STOP_ZERO.set_caption("Tab 0");
    TAB_STOP_ZERO.set_geometry({2640, 3840, 615, 375});

    CONNECT_BUTTON.set_geometry({120, 720, 375, 375});
    CONNECT_BUTTON.set_picture("connect");
    CONNECT_BUTTON.set_tooltip("Dial the DPC (local ISP) connection");

    DISCONNECT_BUTTON.set_geometry({480, 720, 375, 375});
    DISCONNECT_BUTTON.set_picture("disconnect");
    DISCONNECT_BUTTON.set_tooltip("Hang Up the DPC connection");

    STATUS_LIST.set_geometry({120, 1200, 2175, 2700});
    STATUS_LIST.set_font(log_font);
    STATUS_LIST.set_colors(platform::colors::white, platform::colors::black);
    STATUS_LIST.set_tooltip("This list contains Status Messages");

    TIME_LAST_ISP_CONNECT_LABEL.set_geometry({1080, 3930, 1170, 255});
    TIME_LAST_ISP_CONNECT_LABEL.set_font(label_font);
    TIME_LAST_ISP_CONNECT_LABEL.set_colors(platform::colors::yellow, platform::colors::black);
    TIME_LAST_ISP_CONNECT_LABEL.set_caption("na");
    TIME_LAST_ISP_CONNECT_LABEL.set_tooltip(
        "Displays the time that Orvanta last connected to the Internet");
}

}  // namespace ui
