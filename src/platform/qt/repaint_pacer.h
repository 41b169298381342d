#pragma once

#include <QObject>
#include <chrono>

#include "platform/qt/paced_action.h"

class QWidget;

namespace platform::qt {

// Draws a top-level window at most once per `interval`. A busy server writes
// a block to the status log for every request, thousands a second; drawing
// each would cost the program most of its time for changes nobody can see.
// Changes are drawn at the event loop's next turn after a quiet spell, and
// together at the end of the interval otherwise, so the last state is always
// shown. Exposure by the window system is drawn as before.
class RepaintPacer : public QObject {
  public:
    RepaintPacer(QWidget& window, std::chrono::milliseconds interval);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void draw();

    QWidget& window_;
    PacedAction drawing_;
    // Set while this pacer hands its own request to the window.
    bool releasing_ = false;
};

}  // namespace platform::qt
