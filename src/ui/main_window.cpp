#include "ui/main_window.h"

namespace ui {

namespace {
const platform::Font label_font{"Arial", 6.75, false};
const platform::Font state_font{"MS Sans Serif", 13.5, true};
const platform::Font log_font{"Verdana", 5.25, true};
// The lamp's colour before the first poll has seen the signal.
constexpr platform::Color lamp_unknown = platform::Color::rgb(64, 64, 64);

void place_label(platform::Label& label, const platform::Geometry& geometry,
                 const platform::Font& font, const char* caption) {
    label.set_geometry(geometry);
    label.set_font(font);
    label.set_colors(platform::colors::yellow, platform::colors::black);
    label.set_caption(caption);
}

void place_state_image(platform::Image& image, int left, const char* picture, const char* tooltip) {
    image.set_geometry({left, 120, 480, 480});
    image.set_picture(picture);
    image.set_tooltip(tooltip);
    image.set_visible(false);
}

void place_picture_button(platform::PictureButton& button, int left, const char* picture,
                          const char* tooltip) {
    button.set_geometry({left, 720, 375, 375});
    button.set_picture(picture);
    button.set_tooltip(tooltip);
}

void place_picture_box(platform::Image& box, int left, int top, int size, const char* picture) {
    box.set_geometry({left, top, size, size});
    box.set_picture(picture);
    box.set_visible(false);
}
}  // namespace

MainWindow::MainWindow() : platform::Form("Form1") {
    set_caption("Orvanta");
    set_client_size(2415, 4125);
    set_back_color(platform::colors::black);

    // Beyond the right edge: it only parks the keyboard focus.
    TAB_STOP_ZERO.set_caption("Tab 0");
    TAB_STOP_ZERO.set_geometry({2640, 3840, 615, 375});

    place_label(NUM_CLIENTS_LABEL, {2130, 0, 270, 255}, label_font, "0");
    NUM_CLIENTS_LABEL.set_tooltip(
        "Displays the number of clients collecting status from this server");

    place_state_image(Dialing_Image, 240, "state_dialing", "Orvanta (server) is dialing now");
    place_state_image(No_Status_Image, 240, "state_no_status", "Status is not currently available");
    place_state_image(No_DPC_Card_Image, 220, "state_no_card", "DPC card status is not available!");
    place_state_image(Disconnected_Image, 240, "state_disconnected",
                      "DPC is not connected to the Internet");
    place_state_image(Connected_Image, 240, "state_connected", "DPC is connected to the Internet");
    place_state_image(No_Signal_Image, 240, "state_no_signal", "No Satellite signal is present");

    place_label(DPC_Stat_Label, {720, 120, 1455, 375}, state_font, "OFFLINE");
    place_label(Label3, {1230, 465, 975, 255}, label_font, "Signal Quality");
    SIGNAL_QUALITY_LED.set_geometry({840, 480, 375, 135});
    SIGNAL_QUALITY_LED.set_fill_color(lamp_unknown);

    place_picture_button(CONNECT_BUTTON, 120, "connect", "Dial the DPC (local ISP) connection");
    place_picture_button(DISCONNECT_BUTTON, 480, "disconnect", "Hang Up the DPC connection");
    place_picture_button(SETTINGS_BUTTON, 840, "settings", "Open the settings panel");
    place_picture_button(WINDOW_MODE_BUTTON, 1200, "window_mode", "Change window mode");
    place_picture_button(SEND_MESSAGE_BUTTON, 1560, "send_message", "Send a message");
    place_picture_button(ABOUT_BUTTON, 1920, "about_button", "About Orvanta");

    SEND_STATUS_BUTTON.set_caption("Send Status 10.34.53.100");
    SEND_STATUS_BUTTON.set_geometry({480, 4320, 1575, 495});

    STATUS_LIST.set_geometry({120, 1200, 2175, 2700});
    STATUS_LIST.set_font(log_font);
    STATUS_LIST.set_colors(platform::colors::white, platform::colors::black);
    STATUS_LIST.set_tooltip("This list contains Status Messages");

    place_label(TIME_LAST_ISP_CONNECT_LABEL, {1080, 3930, 1170, 255}, label_font, "na");
    TIME_LAST_ISP_CONNECT_LABEL.set_tooltip(
        "Displays the time that Orvanta last connected to the Internet");

    SMALL_DPC_LOGO.set_geometry({120, 3960, 480, 135});
    SMALL_DPC_LOGO.set_picture("small_dpc_logo");
    SMALL_DPC_LOGO.set_tooltip("Click here for DirecPC information");

    place_picture_box(DISH_PLAIN_ICON, 2640, 0, 495, "dish_plain");
    place_picture_box(DISH_CONNECTED_ICON, 2640, 495, 495, "dish_connected");
    place_picture_box(DISH_DISCONNECTED_ICON, 2640, 990, 495, "dish_disconnected");
    place_picture_box(DISH_RED_X_ICON, 2640, 1485, 495, "dish_red_x");
    place_picture_box(DISH_CLOUD_ICON, 2640, 1980, 495, "dish_cloud");
    place_picture_box(DISH_SERVER_RUNNING_ICON, 3240, 0, 375, "dish_server_running");
    place_picture_box(DISH_MESSAGE_ICON, 3240, 375, 375, "dish_message");
}

}  // namespace ui
