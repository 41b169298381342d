#include "ui/window_modes.h"

#include "platform/failure.h"

namespace ui {

void WindowModes::WINDOW_MODE_BUTTON_Click() {
    platform::resume_next([this] { window_.TAB_STOP_ZERO.set_focus(); });
    // Only the height changes: the top edge stays where it is.
    const int height = window_.height();
    if (height == MainWindow::full_height) {
        window_.set_height(MainWindow::mini_height);
    } else if (height == MainWindow::mini_height) {
        window_.set_height(MainWindow::full_height);
    }
}

void WindowModes::TRAY_ICON_IconClicked() {
    window_.set_visible(!window_.visible());
}

}  // namespace ui
