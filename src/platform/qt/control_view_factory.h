#pragma once

#include <memory>

#include "platform/forms/control.h"
#include "platform/qt/control_view.h"

class QWidget;

namespace platform::qt {

// The view for a control of any kind, with its widget created on `parent`.
std::unique_ptr<ControlView> make_control_view(platform::Control& control, QWidget& parent);

}  // namespace platform::qt
