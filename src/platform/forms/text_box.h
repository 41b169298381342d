#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/forms/control.h"

namespace platform {

// A field of text the user can type into, on one line or several.
class TextBox : public Control {
  public:
    using Control::Control;

    const std::string& text() const { return text_; }
    // Sets the text from the program; text beyond max_length is cut off.
    void set_text(const std::string& text) {
        text_ = limited(text);
        changed(Change::Caption);
    }
    // Called by a view when the user has changed the text.
    void typed(const std::string& text) { text_ = limited(text); }

    bool multi_line() const { return multi_line_; }
    void set_multi_line(bool multi_line) { multi_line_ = multi_line; }
    // The most characters the field holds; 0 for no limit.
    std::size_t max_length() const { return max_length_; }
    void set_max_length(std::size_t max_length) { max_length_ = max_length; }

    bool takes_focus() const override { return true; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    // Cuts at a character boundary: the text is UTF-8.
    std::string limited(const std::string& text) const {
        if (max_length_ == 0) {
            return text;
        }
        std::size_t characters = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U;
            if (starts_character && characters++ == max_length_) {
                return text.substr(0, i);
            }
        }
        return text;
    }

    std::string text_;
    bool multi_line_ = false;
    std::size_t max_length_ = 0;
};

// A drop-down list with a text part the user can also type into.
class ComboBox : public Control {
  public:
    using Control::Control;

    const std::string& text() const { return text_; }
    void set_text(const std::string& text) {
        text_ = text;
        changed(Change::Caption);
    }
    // Called by a view when the user has typed or picked a line.
    void typed(const std::string& text) { text_ = text; }

    const std::vector<std::string>& items() const { return items_; }
    // Adds a line before index (the count appends); throws platform::Failure
    // outside 0 to the count.
    void insert(int index, const std::string& text);

    bool takes_focus() const override { return true; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string text_;
    std::vector<std::string> items_;
};

}  // namespace platform
