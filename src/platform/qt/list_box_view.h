#pragma once

#include "platform/forms/list_box.h"
#include "platform/qt/control_view.h"

class QListWidget;

namespace platform::qt {

// A list box as a QListWidget. Lines are inserted and removed one by one as
// the model reports them, so a long list is never reloaded whole.
class ListBoxView : public ControlView {
  public:
    ListBoxView(platform::ListBox& list, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    ListBoxView(platform::ListBox& list, QListWidget& widget);

    platform::ListBox& list_;
    QListWidget& widget_;
};

}  // namespace platform::qt
