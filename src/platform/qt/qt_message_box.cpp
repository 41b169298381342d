#include "platform/qt/qt_message_box.h"

#include <QPointer>

#include "platform/qt/conversions.h"

namespace platform::qt {

QString message_text(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r') {
            lines += c;
            continue;
        }
        lines += '\n';
        // The other half of a two-character break belongs to this one.
        const char partner = c == '\n' ? '\r' : '\n';
        if (i + 1 < text.size() && text[i + 1] == partner) {
            ++i;
        }
    }
    return to_qstring(lines);
}

std::unique_ptr<QMessageBox> make_message_box(platform::MessageIcon icon, const std::string& title,
                                              const std::string& text, QWidget* owner) {
    const QMessageBox::Icon shown_icon =
        icon == platform::MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
    auto box = std::make_unique<QMessageBox>(shown_icon, to_qstring(title), message_text(text),
                                             QMessageBox::Ok, owner);
    // Messages quote file names and server replies: text, never markup.
    box->setTextFormat(Qt::PlainText);
    // Modal to its owner's window alone: an application-modal box would
    // keep the splash screen from being clicked away while start-up waits.
    box->setWindowModality(Qt::WindowModal);
    // The splash screen stays above other windows; a message shown while it
    // is up must not end up hidden behind it.
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

void QtMessageBox::show(const platform::Form& owner, platform::MessageIcon icon,
                        const std::string& title, const std::string& text) {
    const FormRenderer* renderer = desktop_.renderer_of(owner);
    QWidget* window = renderer != nullptr ? &renderer->window() : nullptr;
    std::unique_ptr<QMessageBox> made = make_message_box(icon, title, text, window);
    // Whatever runs while the box waits may end its owner's window, and the
    // box with it: it is only ours to delete while it still exists.
    const QPointer<QMessageBox> box = made.release();
    box->exec();
    delete box.data();
}

}  // namespace platform::qt
