#pragma once

#include "ui/main_window.h"

namespace ui {

// The main window's two heights and its hiding behind the tray icon.
class WindowModes {
  public:
    explicit WindowModes(MainWindow& window) : window_(window) {}

    // Switches between full and mini height. A height that is neither (a
    // window manager that forced its own) is left alone.
    void WINDOW_MODE_BUTTON_Click();
    // Hides a visible window and shows a hidden one, as it was.
    void TRAY_ICON_IconClicked();

  private:
    MainWindow& window_;
};

}  // namespace ui
