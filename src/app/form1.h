#pragma once

#include "monitor/dial_control.h"
#include "platform/clock.h"
#include "platform/navigator.h"
#include "ui/main_window.h"
#include "ui/status_log.h"

namespace app {

// The main window as a whole: its controls, and the subsystems whose handlers
// its controls run.
class Form1 {
  public:
    Form1(platform::Navigator& navigator, const platform::Clock& clock);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    ui::MainWindow& window() { return window_; }
    ui::StatusLog& log() { return log_; }

  private:
    // The log never keeps the focus; it hands it on to the parking button.
    void STATUS_LIST_GotFocus();

    ui::MainWindow window_;
    ui::StatusLog log_;
    monitor::DialControl dial_;
};

}  // namespace app
