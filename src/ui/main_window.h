#pragma once

#include "platform/forms.h"

namespace ui {

// The main window's controls and their layout. Its behaviour is wired up by
// the composition that owns it (app::Form1).
class MainWindow : public platform::Form {
  public:
    MainWindow();

    // Declared in tab order: the parking button comes first.
    platform::CommandButton TAB_STOP_ZERO{*this, "TAB_STOP_ZERO"};
    platform::PictureButton CONNECT_BUTTON{*this, "CONNECT_BUTTON"};
    platform::PictureButton DISCONNECT_BUTTON{*this, "DISCONNECT_BUTTON"};
    platform::ListBox STATUS_LIST{*this, "STATUS_LIST"};
    platform::Label TIME_LAST_ISP_CONNECT_LABEL{*this, "TIME_LAST_ISP_CONNECT_LABEL"};
};

}  // namespace ui
