#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "monitor/dial_control.h"
#include "platform/clock.h"
#include "platform/metrics.h"
#include "platform/navigator.h"
#include "ui/main_window.h"
#include "ui/status_log.h"
#include "ui/tray_display.h"

namespace monitor {

struct StatusRow;

// Reads the link's signal and connection, classifies the pair into a status
// code, and shows it in the main window and the tray. Keeps no memory of the
// previous state: every classifying poll rewrites the whole display, and
// reports the link to the metrics.
class StatusPoll {
  public:
    StatusPoll(platform::Navigator& navigator, ui::StatusLog& log, ui::MainWindow& window,
               ui::TrayDisplay& tray, DialControl& dial, const app::Settings& settings,
               const platform::Clock& clock, platform::Metrics& metrics);

    // One poll. Handles no failure: a failing navigator read ends the poll,
    // is counted, and reaches the caller, which decides what a failure means
    // at that point.
    void GET_DPC_STATUS();

    // The code of the last classifying poll; empty before the first.
    const std::string& DPC_STATUS_CODE() const { return status_code_; }

  private:
    void show(const StatusRow& row, platform::Color lamp);
    std::int16_t read(std::int16_t (platform::Navigator::*property)());

    platform::Navigator& navigator_;
    ui::StatusLog& log_;
    ui::MainWindow& window_;
    ui::TrayDisplay& tray_;
    DialControl& dial_;
    const app::Settings& settings_;
    const platform::Clock& clock_;
    platform::Metrics& metrics_;
    std::string status_code_;
};

}  // namespace monitor
