#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fakes/fault.h"
#include "platform/desktop.h"
#include "platform/forms/form.h"
#include "platform/message_box.h"

namespace fakes {

// Remembers which forms are open and what was done to them.
class FakeDesktop : public platform::Desktop {
  public:
    std::vector<const platform::Form*> open_forms;
    // "open frmSplash", "front ABOUT_FORM", "close frmSplash", "fade Form1 500", "quit".
    std::vector<std::string> calls;
    Fault fade_fault;
    // Runs while a fade is under way, as the event loop goes on meanwhile.
    std::function<void()> during_fade;

    void open(platform::Form& form) override {
        calls.push_back("open " + form.name());
        if (!is_open(form)) {
            open_forms.push_back(&form);
        }
    }
    void bring_to_front(platform::Form& form) override { calls.push_back("front " + form.name()); }
    void close(platform::Form& form) override {
        calls.push_back("close " + form.name());
        std::erase(open_forms, &form);
    }
    void fade_out(platform::Form& form, int milliseconds) override {
        calls.push_back("fade " + form.name() + " " + std::to_string(milliseconds));
        fade_fault.check("fade_out");
        if (during_fade) {
            during_fade();
        }
        form.set_visible(false);
    }
    void quit() override { calls.emplace_back("quit"); }

    bool is_open(const platform::Form& form) const {
        return std::find(open_forms.begin(), open_forms.end(), &form) != open_forms.end();
    }
};

// Records each message box; "pressing OK" is immediate.
class FakeMessageBox : public platform::MessageBox {
  public:
    struct Shown {
        platform::MessageIcon icon;
        std::string title;
        std::string text;
        std::string owner;  // the owner form's name
    };
    std::vector<Shown> shown;
    // Runs while a box is open, as events go on being handled meanwhile.
    std::function<void()> while_open;

    void show(const platform::Form& owner, platform::MessageIcon icon, const std::string& title,
              const std::string& text) override {
        shown.push_back({icon, title, text, owner.name()});
        if (while_open) {
            while_open();
        }
    }
};

}  // namespace fakes
