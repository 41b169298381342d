#pragma once

#include <QIcon>
#include <QSystemTrayIcon>
#include <functional>
#include <string>

#include "platform/qt/blinker.h"
#include "platform/tray_icon.h"

namespace platform::qt {

// The tray icon as a QSystemTrayIcon. While attention is wanted, the picture
// blinks with a highlighted variant of itself.
//
// A desktop without a system tray is no fault: the icon keeps its state as
// if shown, and ShowIcon says once on stderr that nothing appears. Where a
// tray starts later, the icon goes up there with the next change of picture.
class QtTrayIcon : public platform::TrayIcon {
  public:
    QtTrayIcon();

    void Icon(const std::string& picture) override;
    void ToolTip(const std::string& text) override;
    void Attention(bool attention) override;
    void ShowIcon() override;
    bool available() const override;
    void on_IconClicked(std::function<void()> handler) override;

    // Whether the blinking beat is running; it runs exactly while attention is wanted.
    bool blinking() const { return blinker_.on(); }
    // The Qt icon that shows it, with the picture of the moment.
    QSystemTrayIcon& tray() { return tray_; }

  private:
    void show_current_picture();
    void activated(QSystemTrayIcon::ActivationReason reason) const;

    std::string picture_;
    bool wanted_ = false;
    bool told_no_tray_ = false;
    QIcon plain_;
    QIcon highlighted_;
    std::function<void()> clicked_;
    // Before the blinker, which shows its changes on it.
    QSystemTrayIcon tray_;
    Blinker blinker_;
};

}  // namespace platform::qt
