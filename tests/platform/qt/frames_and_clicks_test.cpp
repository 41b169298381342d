#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "platform/forms.h"
#include "platform/qt/rendered_form.h"

namespace {

// A page of a settings dialog: a frame with a box and the text that ticks it,
// between two buttons, on black.
class PageForm : public platform::Form {
  public:
    PageForm() : platform::Form("Page") {
        set_client_size(4500, 3000);
        set_back_color(platform::colors::black);
        on_click([this] { ++surface_clicks; });
        before.set_geometry({0, 0, 855, 855});
        before.set_picture("page_comms");
        before.set_caption("Comms");
        frame.set_geometry({150, 900, 3000, 1500});
        frame.set_caption("Window Options");
        frame.set_colors(platform::colors::white, platform::colors::black);
        box.set_geometry({240, 480, 255, 255});
        box.set_colors(platform::colors::white, platform::colors::black);
        text.set_geometry({600, 480, 2250, 255});
        text.set_caption("Save the position");
        text.on_click([this] { ++text_clicks; });
        after.set_geometry({3300, 2550, 900, 375});
    }

    platform::PictureButton before{*this, "before"};
    platform::Frame frame{*this, "frame"};
    platform::CheckBox box{frame, "box"};
    platform::Label text{frame, "text"};
    platform::CommandButton after{*this, "after"};
    int surface_clicks = 0, text_clicks = 0;
};

using FramesAndClicksTest = qt_test::RenderedForm<PageForm>;

TEST_F(FramesAndClicksTest, FrameShowsItsTitleAndHidesAndOrdersItsControls) {
    ASSERT_TRUE(show_active());
    auto* frame = find<QGroupBox>("frame");
    auto* box = find<QCheckBox>("box");
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(frame->title(), "Window Options");

    form.frame.set_visible(false);
    EXPECT_FALSE(box->isVisible());
    form.frame.set_visible(true);
    EXPECT_TRUE(box->isVisible());

    // The keyboard goes through the frame's controls in the form's order.
    std::vector<QWidget*> stops;
    for (QWidget* widget = find("before")->nextInFocusChain(); widget != find("before");
         widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0) {
            stops.push_back(widget);
        }
    }
    EXPECT_EQ(stops, (std::vector<QWidget*>{box, find("after")}));
}

TEST_F(FramesAndClicksTest, CheckBoxAndModelNeverDisagree) {
    ASSERT_TRUE(show_active());
    auto* box = find<QCheckBox>("box");
    EXPECT_TRUE(box->text().isEmpty());

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(form.box.value(), platform::CheckBox::ticked);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(form.box.value(), platform::CheckBox::cleared);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);

    form.box.set_value(platform::CheckBox::ticked);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    form.box.set_value(platform::CheckBox::greyed);
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    // Once it has shown grey, Qt's own turn after "cleared" would be grey again.
    form.box.set_value(platform::CheckBox::cleared);
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(form.box.value(), platform::CheckBox::ticked);
    EXPECT_EQ(box->checkState(), Qt::Checked);

    // On the black page the box must still be seen: something bright inside.
    const QImage shown = box->grab().toImage();
    bool bright = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            bright = bright || shown.pixelColor(x, y).lightness() > 200;
        }
    }
    EXPECT_TRUE(bright);
}

TEST_F(FramesAndClicksTest, LabelTakesItsClicksAndShowsItsPointerAndAButtonItsCaption) {
    ASSERT_TRUE(show_active());
    auto* text = find<QLabel>("text");
    QTest::mouseClick(text, Qt::LeftButton);
    EXPECT_EQ(form.text_clicks, 1);

    // Let go outside: no click.
    QTest::mousePress(text, Qt::LeftButton);
    QTest::mouseRelease(text, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(form.text_clicks, 1);
    EXPECT_EQ(form.surface_clicks, 0);

    form.text.set_pointer(platform::Pointer::Hand);
    EXPECT_EQ(text->cursor().shape(), Qt::PointingHandCursor);
    form.text.set_pointer(platform::Pointer::Arrow);
    EXPECT_EQ(text->cursor().shape(), Qt::ArrowCursor);

    auto* button = find<QPushButton>("before");
    EXPECT_EQ(button->text(), "Comms");
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_LE(button->iconSize().height() + button->fontMetrics().height(), 57 - 6)
        << "the caption needs its line beneath the picture";
    form.before.set_caption("");
    EXPECT_EQ(button->iconSize(), QSize(51, 51));
}

}  // namespace
