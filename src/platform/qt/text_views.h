#pragma once

#include "platform/forms/text_box.h"
#include "platform/qt/control_view.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace platform::qt {

// A one-line text box as a QLineEdit. The user's edits go to the model as
// they happen; the program's text replaces the widget's and shows from its
// start.
class LineTextBoxView : public ControlView {
  public:
    LineTextBoxView(platform::TextBox& box, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    LineTextBoxView(platform::TextBox& box, QLineEdit& widget);
    void show_text();

    platform::TextBox& box_;
    QLineEdit& widget_;
};

// A text box of several lines as a QPlainTextEdit, wrapped at words, with its
// vertical scroll bar always shown. Line breaks reach the model as CR LF, as
// a Windows text box holds them, and each counts as two characters against
// the maximum length, as it does in the model.
class MultiLineTextBoxView : public ControlView {
  public:
    MultiLineTextBoxView(platform::TextBox& box, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    MultiLineTextBoxView(platform::TextBox& box, QPlainTextEdit& widget);
    void show_text();
    void take_edit();
    void cut_to_max_length();

    platform::TextBox& box_;
    QPlainTextEdit& widget_;
    // True while the view itself changes the widget, whose signals then
    // report no edit of the user's.
    bool changing_ = false;
};

// A combo box as an editable QComboBox. Its lines mirror the model's; typing
// never adds one. Whatever the user types or picks becomes the model's text.
class ComboBoxView : public ControlView {
  public:
    ComboBoxView(platform::ComboBox& combo, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    ComboBoxView(platform::ComboBox& combo, QComboBox& widget);
    void show_inserted(int index);
    void show_text();

    platform::ComboBox& combo_;
    QComboBox& widget_;
    bool changing_ = false;
};

}  // namespace platform::qt
