#pragma once

#include <string>
#include <vector>

#include "platform/forms/control.h"

namespace platform {

// A list of text lines, index 0 at the top.
class ListBox : public Control {
  public:
    using Control::Control;

    int count() const { return static_cast<int>(items_.size()); }
    // The line at index; throws platform::Failure outside 0 to count() - 1.
    const std::string& item(int index) const;
    const std::vector<std::string>& items() const { return items_; }

    // Inserts a line before index (count() appends); throws platform::Failure
    // outside 0 to count().
    void insert(int index, const std::string& text);
    // Removes the line at index; throws platform::Failure outside 0 to count() - 1.
    void remove(int index);

    bool takes_focus() const override { return true; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::vector<std::string> items_;
};

}  // namespace platform
