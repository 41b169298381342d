#pragma once

#include <QObject>
#include <map>
#include <memory>

#include "platform/desktop.h"
#include "platform/qt/form_renderer.h"

namespace platform::qt {

// The forms on screen, each shown by its own FormRenderer, and the end of
// the program through Qt's event loop.
class QtDesktop : public platform::Desktop {
  public:
    QtDesktop();
    ~QtDesktop() override;

    void open(platform::Form& form) override;
    // Restores the window if it is minimised, raises it and asks the desktop
    // to activate it. A hidden form stays hidden: its visibility is the
    // model's to decide.
    void bring_to_front(platform::Form& form) override;
    // Hides the window at once; the widgets go when the event loop next
    // gets control back, since the handler that asked may be running in
    // one of them (a click on the splash screen closing it).
    void close(platform::Form& form) override;
    // Runs the event loop, without the user's input, until the blend is
    // over, then hides the form. A form without a window returns at once.
    void fade_out(platform::Form& form, int milliseconds) override;
    void quit() override;

    // The renderer showing an open form, or nullptr.
    FormRenderer* renderer_of(const platform::Form& form) const;

  private:
    std::map<const platform::Form*, std::unique_ptr<FormRenderer>> renderers_;
    // Parent of the closed renderers until their deferred deletion.
    QObject closed_;
};

}  // namespace platform::qt
