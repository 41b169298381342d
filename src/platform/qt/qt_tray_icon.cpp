#include "platform/qt/qt_tray_icon.h"

#include <cstdio>

#include "platform/guarded.h"
#include "platform/qt/conversions.h"
#include "platform/qt/tray_pictures.h"

namespace platform::qt {

QtTrayIcon::QtTrayIcon() : blinker_([this] { show_current_picture(); }) {
    QObject::connect(&tray_, &QSystemTrayIcon::activated, &tray_,
                     [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
}

void QtTrayIcon::Icon(const std::string& picture) {
    // The poll sets the picture at every tick; drawing costs only on a change.
    if (picture != picture_) {
        picture_ = picture;
        plain_ = tray_picture(picture_);
        highlighted_ = highlighted_tray_picture(picture_);
    }
    show_current_picture();
}

void QtTrayIcon::ToolTip(const std::string& text) {
    tray_.setToolTip(to_qstring(text));
}

void QtTrayIcon::Attention(bool attention) {
    blinker_.set_on(attention);
}

void QtTrayIcon::ShowIcon() {
    wanted_ = true;
    if (!available() && !told_no_tray_) {
        told_no_tray_ = true;
        std::fputs("orvanta: no system tray on this desktop; the tray icon is not shown\n", stderr);
    }
    show_current_picture();
}

bool QtTrayIcon::available() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::on_IconClicked(std::function<void()> handler) {
    clicked_ = std::move(handler);
}

void QtTrayIcon::show_current_picture() {
    tray_.setIcon(blinker_.lit() ? highlighted_ : plain_);
    // Qt refuses, with a warning, to put up an icon without a picture or
    // without a tray: the icon goes up with the first picture there is, and
    // where a tray starts later, with the first change after that.
    if (wanted_ && !tray_.isVisible() && !tray_.icon().isNull() && available()) {
        tray_.show();
    }
}

void QtTrayIcon::activated(QSystemTrayIcon::ActivationReason reason) const {
    // A double click also starts with a Trigger; taking only those makes it
    // one click, not two that undo each other.
    if (reason != QSystemTrayIcon::Trigger) {
        return;
    }
    guarded({"click on", "tray icon"}, [this] {
        // The handler may replace itself: run a copy.
        const std::function<void()> handler = clicked_;
        if (handler) {
            handler();
        }
    });
}

}  // namespace platform::qt
