#pragma once

#include <QObject>

#include "platform/forms/control.h"

class QWidget;

namespace platform::qt {

// Tells a form when the widget of one of its controls receives the keyboard
// focus, until `owner` ends.
class FocusReporter : public QObject {
  public:
    FocusReporter(QWidget& widget, platform::Control& control, QObject& owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    platform::Control& control_;
};

}  // namespace platform::qt
