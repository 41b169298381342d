#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>

class QWidget;

namespace platform::qt {

// Draws a top-level window at most once per `interval`. A busy server writes
// a block to the status log for every request, thousands a second; drawing
// each would cost the program most of its time for changes nobody can see.
// The first change after a quiet spell is drawn at once; changes that follow
// within the interval are drawn together when it ends, so the last state is
// always shown. Exposure by the window system is drawn as before.
class RepaintPacer : public QObject {
  public:
    RepaintPacer(QWidget& window, std::chrono::milliseconds interval);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void draw_now();

    QWidget& window_;
    const std::chrono::milliseconds interval_;
    QElapsedTimer since_drawn_;
    QTimer deferred_;
    // Set while this pacer hands a request of its own to the window.
    bool releasing_ = false;
};

}  // namespace platform::qt
