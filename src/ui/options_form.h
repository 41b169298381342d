#pragma once

#include "platform/forms.h"

namespace ui {

// The settings panel: six page buttons along the top, four pages of which
// one shows at a time, the web link and the maker's notice. The form itself
// switches pages and lets a click on a check box's text tick the box; what
// the fields mean is up to OptionsDialog.
class OptionsForm : public platform::Form {
  public:
    // The web site that the link shows and opens.
    static constexpr const char* web_address = "https://orvanta.example.org/";

    OptionsForm();

    platform::PictureButton COMMS_OPTION_BUTTON{*this, "COMMS_OPTION_BUTTON"};
    platform::PictureButton WINDOW_OPTION_BUTTON{*this, "WINDOW_OPTION_BUTTON"};
    platform::PictureButton STARTUP_OPTION_BUTTON{*this, "STARTUP_OPTION_BUTTON"};
    platform::PictureButton OTHER_OPTION_BUTTON{*this, "OTHER_OPTION_BUTTON"};
    platform::PictureButton Save_Button{*this, "Save_Button"};
    platform::PictureButton Cancel_Button{*this, "Cancel_Button"};

    platform::Frame COMMS_FRAME{*this, "COMMS_FRAME"};
    platform::TextBox LISTEN_PORT_TEXT{COMMS_FRAME, "LISTEN_PORT_TEXT"};
    platform::Label Label1{COMMS_FRAME, "Label1"};
    platform::TextBox TRANSMIT_PORT_TEXT{COMMS_FRAME, "TRANSMIT_PORT_TEXT"};
    platform::Label Label2{COMMS_FRAME, "Label2"};
    platform::Label Label3{COMMS_FRAME, "Label3"};
    platform::Label Label4{COMMS_FRAME, "Label4"};
    platform::Label Label5{COMMS_FRAME, "Label5"};
    platform::Label Label6{COMMS_FRAME, "Label6"};

    platform::Frame WINDOW_FRAME{*this, "WINDOW_FRAME"};
    platform::CheckBox SAVE_WINDOW_POS_CHECKBOX{WINDOW_FRAME, "SAVE_WINDOW_POS_CHECKBOX"};
    platform::Label lbl_SAVE_WINDOW_POS{WINDOW_FRAME, "lbl_SAVE_WINDOW_POS"};

    platform::Frame STARTUP_FRAME{*this, "STARTUP_FRAME"};
    platform::CheckBox STARTUP_IN_MINIMODE_CHECKBOX{STARTUP_FRAME, "STARTUP_IN_MINIMODE_CHECKBOX"};
    platform::Label lbl_ALWAYS_START_MINI_MDOE{STARTUP_FRAME, "lbl_ALWAYS_START_MINI_MDOE"};
    platform::CheckBox STARTUP_IN_SYSTRAY_CHECKBOX{STARTUP_FRAME, "STARTUP_IN_SYSTRAY_CHECKBOX"};
    platform::Label lbl_ALWAYS_START_IN_SYSTRAY{STARTUP_FRAME, "lbl_ALWAYS_START_IN_SYSTRAY"};

    platform::Frame OTHER_OPTIONS_FRAME{*this, "OTHER_OPTIONS_FRAME"};
    platform::CheckBox KEEP_CONNECTED_CHECKBOX{OTHER_OPTIONS_FRAME, "KEEP_CONNECTED_CHECKBOX"};
    platform::Label lbl_REDIAL_IF_DPC_DISCONNECTS{OTHER_OPTIONS_FRAME,
                                                  "lbl_REDIAL_IF_DPC_DISCONNECTS"};
    platform::Label Label7{OTHER_OPTIONS_FRAME, "Label7"};
    platform::TextBox DPC_HW_POLL_INTERVAL_TEXTBOX{OTHER_OPTIONS_FRAME,
                                                   "DPC_HW_POLL_INTERVAL_TEXTBOX"};
    platform::Label Label8{OTHER_OPTIONS_FRAME, "Label8"};

    platform::Label WEBLINK_LABEL{*this, "WEBLINK_LABEL"};
    platform::Image NOTICE_IMAGE{*this, "NOTICE_IMAGE"};

  private:
    // Shows one page and hides the three others.
    void show_page(const platform::Frame& page);
};

}  // namespace ui
