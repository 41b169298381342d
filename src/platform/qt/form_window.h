#pragma once

#include <QDeadlineTimer>
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <chrono>
#include <deque>
#include <functional>
#include <string>

namespace platform::qt {

// The top-level widget of a form. It draws the form's picture over its whole
// surface, beneath the controls, and tells its owner what the user does to
// the window itself: a press on its surface, a key that no control took, the
// request to close it, and moves made by the user or the desktop.
//
// A close request is always refused here: the owner decides, and hides or
// ends the window itself.
//
// It is drawn at most every `repaint_interval` (see RepaintPacer).
class FormWindow : public QWidget {
  public:
    static constexpr std::chrono::milliseconds repaint_interval{50};

    struct Reactions {
        std::function<void()> clicked;
        std::function<void()> key_pressed;
        std::function<void()> close_requested;
        // With the new position of the frame's top left corner, in pixels.
        std::function<void(QPoint)> moved;
    };

    FormWindow();

    // Where the user's actions go; empty reactions drop them.
    void react(Reactions reactions) { reactions_ = std::move(reactions); }

    // The picture (":/pictures/<name>.svg") to draw; empty for none.
    void set_picture(const std::string& name);

    // Moves the frame's top left corner. The move events that follow from
    // it are not taken for the user's, even when they arrive late, after
    // further moves (the window system confirms each request in turn).
    void place(QPoint frame_position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    struct OwnMove {
        QPoint position;
        QDeadlineTimer remembered;
    };
    void forget_old_moves();
    bool is_own_move(QPoint position);

    Reactions reactions_;
    std::string picture_;
    // Drawn at the size and pixel ratio of the last paint, kept until either changes.
    QPixmap drawn_;
    // The positions recently asked for in place(), oldest first.
    std::deque<OwnMove> own_moves_;
};

}  // namespace platform::qt
