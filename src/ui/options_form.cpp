#include "ui/options_form.h"

namespace ui {

namespace {

void place_page_button(platform::PictureButton& button, int left, const char* picture,
                       const char* caption, const char* tooltip) {
    button.set_geometry({left, 0, 855, 855});
    button.set_picture(picture);
    button.set_caption(caption);
    button.set_tooltip(tooltip);
}

void place_frame(platform::Frame& frame, const char* caption) {
    frame.set_geometry({120, 960, 4815, 2175});
    frame.set_caption(caption);
    frame.set_colors(platform::colors::white, platform::colors::black);
}

const platform::Font label_font{"Arial", 8, false};

// A label on a page, reaching to the page's right edge unless given a width.
void place_label(platform::Label& label, int left, int top, const char* caption, int width = 0) {
    label.set_geometry({left, top, width > 0 ? width : 4815 - 120 - left, 255});
    label.set_font(label_font);
    label.set_colors(platform::colors::white, platform::colors::black);
    label.set_caption(caption);
}

// A little smaller than the labels, so that a five-digit port fits its field
// whole (29 pixels inside) in Arial and in the Liberation Sans that stands in
// for it.
const platform::Font port_font{"Arial", 7.5, false};

void place_field(platform::TextBox& field, const platform::Geometry& geometry, const char* text,
                 const platform::Font& font = label_font) {
    field.set_geometry(geometry);
    field.set_font(font);
    field.set_text(text);
}

void place_check_box(platform::CheckBox& box, int top, const char* tooltip) {
    box.set_geometry({240, top, 255, 255});
    box.set_colors(platform::colors::white, platform::colors::black);
    box.set_tooltip(tooltip);
}

// A click on the text beside a box ticks or clears it, like one on the box;
// a greyed box stays as it is.
void toggle_on_click(platform::Label& label, platform::CheckBox& box) {
    label.on_click([&box] {
        if (box.value() == platform::CheckBox::cleared) {
            box.set_value(platform::CheckBox::ticked);
        } else if (box.value() == platform::CheckBox::ticked) {
            box.set_value(platform::CheckBox::cleared);
        }
    });
}

}  // namespace

OptionsForm::OptionsForm() : platform::Form("Options") {
    set_caption("Orvanta Options Panel");
    set_centered(true);
    set_client_size(5055, 3450);
    set_back_color(platform::colors::black);

    place_page_button(COMMS_OPTION_BUTTON, 0, "page_comms", "Comms",
                      "Communication options for Orvanta");
    place_page_button(WINDOW_OPTION_BUTTON, 840, "page_window", "Window",
                      "Window options for Orvanta");
    place_page_button(STARTUP_OPTION_BUTTON, 1680, "page_startup", "Startup",
                      "Startup options for Orvanta");
    place_page_button(OTHER_OPTION_BUTTON, 2520, "page_other", "Other", "Other Orvanta options");
    place_page_button(Save_Button, 3360, "page_save", "Save", "Save changes and EXIT program");
    place_page_button(Cancel_Button, 4200, "page_cancel", "Cancel",
                      "Cancel changes and return to main screen");

    place_frame(COMMS_FRAME, "Communication Options");
    place_field(LISTEN_PORT_TEXT, {240, 480, 495, 285}, "2509", port_font);
    place_label(Label1, 840, 570, "Receive", 600);
    place_field(TRANSMIT_PORT_TEXT, {1560, 480, 495, 285}, "2519", port_font);
    place_label(Label2, 2160, 570, "Transmit", 720);
    place_label(Label3, 240, 840, "Match the ports that are in use by Tessaly...");
    place_label(Label4, 240, 1080, "eg if the Tessaly (Client) uses port 2509 to");
    place_label(Label5, 240, 1320, "transmit then Orvanta should receive on port");
    place_label(Label6, 240, 1560, "2509. (If you are unsure leave the settings alone!)");

    place_frame(WINDOW_FRAME, "Window Options");
    place_check_box(SAVE_WINDOW_POS_CHECKBOX, 480,
                    "Tick the box to save the window position when exiting");
    place_label(lbl_SAVE_WINDOW_POS, 600, 480, "Save current position of the window when exiting");

    place_frame(STARTUP_FRAME, "Startup Options");
    place_check_box(STARTUP_IN_MINIMODE_CHECKBOX, 480,
                    "Tick the box to always start the program in mini window mode");
    place_label(lbl_ALWAYS_START_MINI_MDOE, 600, 510,
                "Always start the program in mini window mode");
    place_check_box(STARTUP_IN_SYSTRAY_CHECKBOX, 960,
                    "Tick the box to always start the program in the System Tray area");
    place_label(lbl_ALWAYS_START_IN_SYSTRAY, 600, 990,
                "Always start the program in the System Tray");

    place_frame(OTHER_OPTIONS_FRAME, "Other Options");
    place_check_box(KEEP_CONNECTED_CHECKBOX, 480,
                    "Tick this box to always stay connected to the Internet (auto-redial)");
    place_label(lbl_REDIAL_IF_DPC_DISCONNECTS, 600, 510,
                "Re-dial if DPC is disconnected from the Internet");
    place_label(Label7, 720, 1200, "DPC hardware  status update interval (in secs)");
    place_field(DPC_HW_POLL_INTERVAL_TEXTBOX, {240, 1080, 375, 285}, "5");
    DPC_HW_POLL_INTERVAL_TEXTBOX.set_tooltip(
        "Contains the value (in secs) between DPC hardware polls for current status");
    place_label(Label8, 840, 1440, "Minimum: 3   Maximum: 60   Default: 5");

    // The dialog opens on the first page.
    WINDOW_FRAME.set_visible(false);
    STARTUP_FRAME.set_visible(false);
    OTHER_OPTIONS_FRAME.set_visible(false);

    WEBLINK_LABEL.set_geometry({240, 3150, 2295, 255});
    WEBLINK_LABEL.set_font(label_font);
    WEBLINK_LABEL.set_colors(platform::colors::yellow, platform::colors::black);
    WEBLINK_LABEL.set_caption("orvanta.example.org");
    WEBLINK_LABEL.set_pointer(platform::Pointer::Hand);
    WEBLINK_LABEL.set_tooltip("Click here to visit the Orvanta WebSite");
    NOTICE_IMAGE.set_geometry({3960, 3225, 900, 135});
    NOTICE_IMAGE.set_picture("maker_notice");

    COMMS_OPTION_BUTTON.on_click([this] { show_page(COMMS_FRAME); });
    WINDOW_OPTION_BUTTON.on_click([this] { show_page(WINDOW_FRAME); });
    STARTUP_OPTION_BUTTON.on_click([this] { show_page(STARTUP_FRAME); });
    OTHER_OPTION_BUTTON.on_click([this] { show_page(OTHER_OPTIONS_FRAME); });
    toggle_on_click(lbl_SAVE_WINDOW_POS, SAVE_WINDOW_POS_CHECKBOX);
    toggle_on_click(lbl_ALWAYS_START_MINI_MDOE, STARTUP_IN_MINIMODE_CHECKBOX);
    toggle_on_click(lbl_ALWAYS_START_IN_SYSTRAY, STARTUP_IN_SYSTRAY_CHECKBOX);
    toggle_on_click(lbl_REDIAL_IF_DPC_DISCONNECTS, KEEP_CONNECTED_CHECKBOX);
}

void OptionsForm::show_page(const platform::Frame& page) {
    for (platform::Frame* frame :
         {&COMMS_FRAME, &WINDOW_FRAME, &STARTUP_FRAME, &OTHER_OPTIONS_FRAME}) {
        frame->set_visible(frame == &page);
    }
}

}  // namespace ui
