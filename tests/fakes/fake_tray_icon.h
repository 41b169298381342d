#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fakes/fault.h"
#include "platform/tray_icon.h"

namespace fakes {

// A tray icon that records what it was told, in order, and can fail.
class FakeTrayIcon : public platform::TrayIcon {
  public:
    std::string icon;
    std::string tooltip;
    bool attention = false;
    bool shown = false;
    // Whether the desktop has a tray.
    bool tray_available = true;
    // Every call, such as "Icon dish_connected", "ToolTip ...", "Attention 1".
    std::vector<std::string> calls;
    Fault fault;

    void Icon(const std::string& picture) override {
        record("Icon " + picture);
        icon = picture;
    }
    void ToolTip(const std::string& text) override {
        record("ToolTip " + text);
        tooltip = text;
    }
    void Attention(bool value) override {
        record(std::string("Attention ") + (value ? "1" : "0"));
        attention = value;
    }
    void ShowIcon() override {
        record("ShowIcon");
        shown = true;
    }
    bool available() const override { return tray_available; }
    void on_IconClicked(std::function<void()> handler) override { clicked_ = std::move(handler); }

    // The user clicks the icon.
    void click() {
        if (clicked_) {
            clicked_();
        }
    }

  private:
    void record(const std::string& call) {
        fault.check(call);
        calls.push_back(call);
    }

    std::function<void()> clicked_;
};

}  // namespace fakes
