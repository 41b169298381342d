#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>
#include <string>

#include "platform/message_box.h"
#include "platform/qt/qt_desktop.h"

namespace platform::qt {

// The text with its line breaks as Qt draws them. The program breaks lines
// with LF CR; CR LF, a lone LF and a lone CR count as one break as well, so
// that two breaks in a row always leave an empty line.
QString message_text(const std::string& text);

// The box that QtMessageBox shows, not yet shown: the title exactly as
// given, the text as plain text, one OK button, above all other windows,
// modal to owner alone (to no window, when there is no owner).
std::unique_ptr<QMessageBox> make_message_box(platform::MessageIcon icon, const std::string& title,
                                              const std::string& text, QWidget* owner = nullptr);

// Message boxes as QMessageBoxes modal to the window of the form they
// belong to. A form without a window (the main window while start-up runs)
// has its boxes block no window: the splash screen still takes its click.
class QtMessageBox : public platform::MessageBox {
  public:
    explicit QtMessageBox(const QtDesktop& desktop) : desktop_(desktop) {}

    void show(const platform::Form& owner, platform::MessageIcon icon, const std::string& title,
              const std::string& text) override;

  private:
    const QtDesktop& desktop_;
};

}  // namespace platform::qt
