#pragma once

#include <QObject>

#include "platform/forms/control.h"

class QWidget;

namespace platform::qt {

// Gives a control that is no button (a label, an image) the user's clicks,
// until `owner` ends. A left press and release inside the widget run the
// control's click handler. While the control has no handler the widget's
// presses go on as before: to the window beneath, which does not count a
// press that landed on a control as one on its own surface.
class ClickReporter : public QObject {
  public:
    ClickReporter(QWidget& widget, const platform::Control& control, QObject& owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& widget_;
    const platform::Control& control_;
    // A left press was taken here and its release is still to come.
    bool pressed_ = false;
};

}  // namespace platform::qt
