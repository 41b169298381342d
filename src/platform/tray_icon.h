#pragma once

#include <functional>
#include <string>

namespace platform {

// The program's icon in the desktop's notification area. Icon, ToolTip and
// Attention take effect at once, also on an icon already shown.
class TrayIcon {
  public:
    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    virtual ~TrayIcon() = default;

    // Sets the picture, by name (as the form's pictures are named).
    virtual void Icon(const std::string& picture) = 0;
    // Sets the text shown when the pointer rests on the icon.
    virtual void ToolTip(const std::string& text) = 0;
    // Marks the icon as needing the user's attention (true) or not (false).
    virtual void Attention(bool attention) = 0;
    // Puts the icon up with the picture and text last set; it stays until the program ends.
    virtual void ShowIcon() = 0;
    // Whether the desktop has a notification area to put the icon in now.
    virtual bool available() const = 0;
    // The handler run when the user clicks the icon.
    virtual void on_IconClicked(std::function<void()> handler) = 0;
};

}  // namespace platform
