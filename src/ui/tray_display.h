#pragma once

#include <string>

#include "platform/failure.h"
#include "platform/forms/image.h"
#include "platform/tray_icon.h"

namespace ui {

// What the program shows in the tray: a picture taken from one of the main
// window's picture boxes, a tooltip and whether it needs attention. The three
// are always set together, in that order.
class TrayDisplay {
  public:
    explicit TrayDisplay(platform::TrayIcon& tray) : tray_(tray) {}

    // Throws platform::Failure when the tray icon fails.
    void show(const platform::Image& picture_box, const std::string& tooltip, bool attention) {
        tray_.Icon(picture_box.picture());
        tray_.ToolTip(tooltip);
        tray_.Attention(attention);
    }

    // The same, passing over each of the three that fails.
    void show_skipping_failures(const platform::Image& picture_box, const std::string& tooltip,
                                bool attention) {
        platform::resume_next([&] { tray_.Icon(picture_box.picture()); });
        platform::resume_next([&] { tray_.ToolTip(tooltip); });
        platform::resume_next([&] { tray_.Attention(attention); });
    }

  private:
    platform::TrayIcon& tray_;
};

}  // namespace ui
