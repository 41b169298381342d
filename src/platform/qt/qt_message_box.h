#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>
#include <string>

#include "platform/message_box.h"

namespace platform::qt {

// The text with its line breaks as Qt draws them. The program breaks lines
// with LF CR; CR LF, a lone LF and a lone CR count as one break as well, so
// that two breaks in a row always leave an empty line.
QString message_text(const std::string& text);

// The box that QtMessageBox shows, not yet shown: the title exactly as
// given, the text as plain text, one OK button, above all other windows.
std::unique_ptr<QMessageBox> make_message_box(platform::MessageIcon icon, const std::string& title,
                                              const std::string& text);

// Message boxes as application-modal QMessageBoxes.
class QtMessageBox : public platform::MessageBox {
  public:
    void show(platform::MessageIcon icon, const std::string& title,
              const std::string& text) override;
};

}  // namespace platform::qt
