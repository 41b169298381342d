#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <algorithm>

#include "platform/qt/picture.h"
#include "platform/qt/repaint_pacer.h"

namespace platform::qt {

namespace {

// Runs a copy: the reaction may replace the window's reactions (its owner
// letting go of the form) while it runs.
void run(std::function<void()> reaction) {
    if (reaction) {
        reaction();
    }
}

// Holding Shift or Ctrl on its own is not pressing a key the window should
// answer; the key pressed with it is.
bool is_modifier(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
            return true;
        default:
            return false;
    }
}

// How long the echoes of our own move requests may take to come back. A drag
// by the user that ends within that time on the very pixel the program asked
// for would go unreported; that is not worth a guard.
constexpr int echo_milliseconds = 1000;

}  // namespace

FormWindow::FormWindow() {
    new RepaintPacer(*this, repaint_interval);
}

void FormWindow::set_picture(const std::string& name) {
    picture_ = name;
    drawn_ = QPixmap();
    update();
}

void FormWindow::place(QPoint frame_position) {
    if (frame_position == pos()) {
        return;
    }
    forget_old_moves();
    own_moves_.push_back({frame_position, QDeadlineTimer(echo_milliseconds)});
    move(frame_position);
}

void FormWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (picture_.empty()) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (drawn_.isNull() || drawn_.deviceIndependentSize().toSize() != size() ||
        drawn_.devicePixelRatio() != ratio) {
        drawn_ = render_picture(picture_, size(), ratio);
    }
    QPainter(this).drawPixmap(0, 0, drawn_);
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
    // A control that does not want presses (a label) passes them on to us;
    // they were still not made on the window's own surface.
    if (childAt(event->position().toPoint()) != nullptr) {
        event->ignore();
        return;
    }
    event->accept();
    run(reactions_.clicked);
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt delivers both presses of a double click as presses already; the
    // double-click event after the second is not a third (QWidget's default
    // would make it one).
    event->accept();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (is_modifier(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    run(reactions_.key_pressed);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    run(reactions_.close_requested);
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // A hidden window is moved only by the program, and its move events
    // come as it is shown.
    if (!isVisible()) {
        return;
    }
    const QPoint position = pos();
    if (is_own_move(position)) {
        return;
    }
    if (const auto moved = reactions_.moved) {
        moved(position);
    }
}

void FormWindow::forget_old_moves() {
    while (!own_moves_.empty() && own_moves_.front().remembered.hasExpired()) {
        own_moves_.pop_front();
    }
}

bool FormWindow::is_own_move(QPoint position) {
    forget_old_moves();
    return std::any_of(own_moves_.begin(), own_moves_.end(),
                       [&](const OwnMove& move) { return move.position == position; });
}

}  // namespace platform::qt
