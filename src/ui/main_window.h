#pragma once

#include "platform/forms.h"

namespace ui {

// The main window's controls and their layout. Its behaviour is wired up by
// the composition that owns it (app::Form1).
class MainWindow : public platform::Form {
  public:
    // The two outer heights, in twips: everything, or cut off just above
    // the status log.
    static constexpr int full_height = 4500;
    static constexpr int mini_height = 1575;

    MainWindow();

    // Declared in tab order: the parking button comes first.
    platform::CommandButton TAB_STOP_ZERO{*this, "TAB_STOP_ZERO"};

    // The state pictures lie on top of each other, declared bottom to top.
    platform::Label NUM_CLIENTS_LABEL{*this, "NUM_CLIENTS_LABEL"};
    platform::Image Dialing_Image{*this, "Dialing_Image"};
    platform::Image No_Status_Image{*this, "No_Status_Image"};
    platform::Image No_DPC_Card_Image{*this, "No_DPC_Card_Image"};
    platform::Image Disconnected_Image{*this, "Disconnected_Image"};
    platform::Image Connected_Image{*this, "Connected_Image"};
    platform::Image No_Signal_Image{*this, "No_Signal_Image"};
    platform::Label DPC_Stat_Label{*this, "DPC_Stat_Label"};
    platform::Label Label3{*this, "Label3"};
    platform::Shape SIGNAL_QUALITY_LED{*this, "SIGNAL_QUALITY_LED"};

    platform::PictureButton CONNECT_BUTTON{*this, "CONNECT_BUTTON"};
    platform::PictureButton DISCONNECT_BUTTON{*this, "DISCONNECT_BUTTON"};
    platform::PictureButton SETTINGS_BUTTON{*this, "SETTINGS_BUTTON"};
    platform::PictureButton WINDOW_MODE_BUTTON{*this, "WINDOW_MODE_BUTTON"};
    platform::PictureButton SEND_MESSAGE_BUTTON{*this, "SEND_MESSAGE_BUTTON"};
    platform::PictureButton ABOUT_BUTTON{*this, "ABOUT_BUTTON"};
    platform::ListBox STATUS_LIST{*this, "STATUS_LIST"};
    platform::Label TIME_LAST_ISP_CONNECT_LABEL{*this, "TIME_LAST_ISP_CONNECT_LABEL"};
    platform::Image SMALL_DPC_LOGO{*this, "SMALL_DPC_LOGO"};

    // Below the bottom edge: sends the status reply to a fixed test address.
    platform::CommandButton SEND_STATUS_BUTTON{*this, "SEND_STATUS_BUTTON"};

    // Beyond the right edge: they only hold the tray icon's pictures.
    platform::Image DISH_PLAIN_ICON{*this, "DISH_PLAIN_ICON"};
    platform::Image DISH_CONNECTED_ICON{*this, "DISH_CONNECTED_ICON"};
    platform::Image DISH_DISCONNECTED_ICON{*this, "DISH_DISCONNECTED_ICON"};
    platform::Image DISH_RED_X_ICON{*this, "DISH_RED_X_ICON"};
    platform::Image DISH_CLOUD_ICON{*this, "DISH_CLOUD_ICON"};
    platform::Image DISH_SERVER_RUNNING_ICON{*this, "DISH_SERVER_RUNNING_ICON"};
    platform::Image DISH_MESSAGE_ICON{*this, "DISH_MESSAGE_ICON"};
};

}  // namespace ui
