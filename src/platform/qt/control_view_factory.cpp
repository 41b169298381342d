#include "platform/qt/control_view_factory.h"

#include "platform/qt/button_views.h"
#include "platform/qt/check_box_view.h"
#include "platform/qt/frame_view.h"
#include "platform/qt/image_views.h"
#include "platform/qt/label_view.h"
#include "platform/qt/list_box_view.h"
#include "platform/qt/text_views.h"

namespace platform::qt {

namespace {

class Factory : public platform::ControlVisitor {
  public:
    explicit Factory(QWidget& parent) : parent_(parent) {}

    void visit(platform::Label& control) override {
        view = std::make_unique<LabelView>(control, parent_);
    }
    void visit(platform::ListBox& control) override {
        view = std::make_unique<ListBoxView>(control, parent_);
    }
    void visit(platform::CommandButton& control) override {
        view = std::make_unique<CommandButtonView>(control, parent_);
    }
    void visit(platform::PictureButton& control) override {
        view = std::make_unique<PictureButtonView>(control, parent_);
    }
    void visit(platform::Image& control) override {
        view = std::make_unique<ImageView>(control, parent_);
    }
    void visit(platform::Shape& control) override {
        view = std::make_unique<ShapeView>(control, parent_);
    }
    void visit(platform::TextBox& control) override {
        if (control.multi_line()) {
            view = std::make_unique<MultiLineTextBoxView>(control, parent_);
        } else {
            view = std::make_unique<LineTextBoxView>(control, parent_);
        }
    }
    void visit(platform::ComboBox& control) override {
        view = std::make_unique<ComboBoxView>(control, parent_);
    }
    void visit(platform::CheckBox& control) override {
        view = std::make_unique<CheckBoxView>(control, parent_);
    }
    void visit(platform::Frame& control) override {
        view = std::make_unique<FrameView>(control, parent_);
    }

    std::unique_ptr<ControlView> view;

  private:
    QWidget& parent_;
};

}  // namespace

std::unique_ptr<ControlView> make_control_view(platform::Control& control, QWidget& parent) {
    Factory factory(parent);
    control.accept(factory);
    return std::move(factory.view);
}

}  // namespace platform::qt
