#pragma once

#include <functional>
#include <memory>

#include "platform/desktop.h"
#include "platform/forms/form.h"

namespace ui {

// A secondary window that exists at most once: made and loaded when first
// shown, brought forward when shown while open, and discarded when closed,
// so that the next showing loads it afresh.
template <class FormType>
class SingleWindow {
  public:
    explicit SingleWindow(platform::Desktop& desktop) : desktop_(desktop) {}
    SingleWindow(const SingleWindow&) = delete;
    SingleWindow& operator=(const SingleWindow&) = delete;
    ~SingleWindow() { close(); }

    // The window, while it is open.
    FormType* form() const { return form_.get(); }

    // Shows the window. When it is not open, make() creates and loads it
    // first; a close request from the user then runs on_close, or closes
    // the window when there is none. An open window only comes forward.
    FormType& show(const std::function<std::unique_ptr<FormType>()>& make,
                   std::function<void()> on_close = {}) {
        if (form_) {
            form_->set_visible(true);
            desktop_.bring_to_front(*form_);
            return *form_;
        }
        form_ = make();
        if (on_close) {
            form_->on_close_request(std::move(on_close));
        } else {
            form_->on_close_request([this] { close(); });
        }
        form_->set_visible(true);
        desktop_.open(*form_);
        return *form_;
    }

    // Takes the window away, if it is open.
    void close() {
        if (form_) {
            desktop_.close(*form_);
            form_.reset();
        }
    }

  private:
    platform::Desktop& desktop_;
    std::unique_ptr<FormType> form_;
};

}  // namespace ui
