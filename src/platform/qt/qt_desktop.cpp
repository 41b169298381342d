#include "platform/qt/qt_desktop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>

namespace platform::qt {

namespace {

// Keeps a closed form's renderer until Qt deletes it, which it does only
// once every event handler that started before the deletion has returned.
class ClosedRenderer : public QObject {
  public:
    ClosedRenderer(std::unique_ptr<FormRenderer> renderer, QObject& parent)
        : QObject(&parent), renderer_(std::move(renderer)) {}

  private:
    std::unique_ptr<FormRenderer> renderer_;
};

// How much longer than asked a fade may take before it is cut short: the
// event loop may be busy, or the desktop may not animate at all.
constexpr int fade_grace_milliseconds = 1000;

}  // namespace

QtDesktop::QtDesktop() = default;

QtDesktop::~QtDesktop() = default;

void QtDesktop::open(platform::Form& form) {
    if (!renderers_.contains(&form)) {
        renderers_.emplace(&form, std::make_unique<FormRenderer>(form));
    }
}

void QtDesktop::bring_to_front(platform::Form& form) {
    FormRenderer* renderer = renderer_of(form);
    if (renderer == nullptr) {
        return;
    }
    QWidget& window = renderer->window();
    if (window.isMinimized()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.raise();
    // The desktop may still decline to take the focus from another program;
    // then it usually marks the window as wanting attention.
    window.activateWindow();
}

void QtDesktop::close(platform::Form& form) {
    const auto it = renderers_.find(&form);
    if (it == renderers_.end()) {
        return;
    }
    std::unique_ptr<FormRenderer> renderer = std::move(it->second);
    renderers_.erase(it);
    renderer->detach();
    (new ClosedRenderer(std::move(renderer), closed_))->deleteLater();
}

void QtDesktop::fade_out(platform::Form& form, int milliseconds) {
    FormRenderer* renderer = renderer_of(form);
    if (renderer == nullptr) {
        return;
    }
    QPointer<QWidget> window = &renderer->window();
    if (window->isVisible() && milliseconds > 0) {
        QEventLoop loop;
        QPropertyAnimation fade(window, "windowOpacity");
        fade.setDuration(milliseconds);
        fade.setStartValue(1.0);
        fade.setEndValue(0.0);
        QObject::connect(&fade, &QAbstractAnimation::finished, &loop, &QEventLoop::quit);
        // Whatever runs meanwhile may close the form and end the window.
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer::singleShot(milliseconds + fade_grace_milliseconds, &loop, &QEventLoop::quit);
        fade.start();
        // Timers and sockets go on; clicks and keys wait until the fade is over.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Handlers run during the fade may have closed the form, and ended it.
    if (window == nullptr || renderer_of(form) != renderer) {
        return;
    }
    form.set_visible(false);
    // Hidden now, so that whoever shows it again sees it whole.
    window->setWindowOpacity(1.0);
}

void QtDesktop::quit() {
    // exit rather than quit: Qt 6's quit first asks every window to close,
    // and our windows leave that to the program, which asked to end.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
}

FormRenderer* QtDesktop::renderer_of(const platform::Form& form) const {
    const auto it = renderers_.find(&form);
    return it == renderers_.end() ? nullptr : it->second.get();
}

}  // namespace platform::qt
