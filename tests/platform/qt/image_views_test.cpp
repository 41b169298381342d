#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

#include "platform/forms.h"
#include "platform/qt/picture.h"
#include "platform/qt/rendered_form.h"

namespace {

// The dialing badge's colour, give or take the edges' smoothing.
bool amber(const QColor& color) {
    return color.red() > 200 && color.green() > 120 && color.green() < 200 && color.blue() < 80;
}

// Two state pictures on the same place, the later one round so that the
// earlier one shows at its corners, and a lamp.
class PictureForm : public platform::Form {
  public:
    PictureForm() : platform::Form("Pictures") {
        set_client_size(1500, 1500);
        set_back_color(platform::colors::black);
        under.set_geometry({150, 150, 480, 480});
        under.set_picture("state_dialing");
        over.set_geometry({150, 150, 480, 480});
        over.set_picture("state_connected");
        lamp.set_geometry({750, 750, 375, 135});
        lamp.set_fill_color(platform::colors::red);
    }

    platform::Image under{*this, "under"};
    platform::Image over{*this, "over"};
    platform::Shape lamp{*this, "lamp"};
};

class ImageViewsTest : public qt_test::RenderedForm<PictureForm> {
  protected:
    // The window as a person would see it, in its own pixels.
    QImage screen() const { return window().grab().toImage(); }
};

TEST_F(ImageViewsTest, ImageShowsItsPictureAtItsSizeAndFollowsItsChanges) {
    auto* over = find<QLabel>("over");
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->pixmap().deviceIndependentSize(), QSizeF(32, 32));

    form.over.set_picture("no such picture");
    EXPECT_TRUE(over->pixmap().isNull());
    form.over.set_picture("state_no_signal");
    EXPECT_FALSE(over->pixmap().isNull());

    form.over.set_geometry({150, 150, 240, 240});
    EXPECT_EQ(over->pixmap().deviceIndependentSize(), QSizeF(16, 16))
        << "a resized image must be drawn afresh at its new size";
}

TEST_F(ImageViewsTest, LaterImageLiesOnTopAndTheEarlierShowsAroundIt) {
    form.set_visible(true);
    const QPoint centre(26, 26);
    const QPoint corner(13, 13);
    QImage shown = screen();
    EXPECT_FALSE(amber(shown.pixelColor(centre))) << "the connected globe covers the middle";
    EXPECT_TRUE(amber(shown.pixelColor(corner))) << "the dialing badge shows at the corners";
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::black)) << "outside the pictures: the window";

    form.over.set_visible(false);
    shown = screen();
    EXPECT_TRUE(amber(shown.pixelColor(centre)));

    form.under.set_visible(false);
    shown = screen();
    EXPECT_EQ(shown.pixelColor(centre), QColor(Qt::black))
        << "a picture must not leave its background behind when hidden";
}

TEST_F(ImageViewsTest, ShapeFillsWithItsColourInsideABlackEdge) {
    form.set_visible(true);
    auto* lamp = find("lamp");
    ASSERT_NE(lamp, nullptr);
    const QPoint middle(12, 4);
    EXPECT_EQ(lamp->grab().toImage().pixelColor(middle), QColor(Qt::red));
    EXPECT_EQ(lamp->grab().toImage().pixelColor(0, 0), QColor(Qt::black));

    form.lamp.set_fill_color(platform::colors::green);
    EXPECT_EQ(lamp->grab().toImage().pixelColor(middle), QColor(Qt::green));

    // The control's own colours change too, and must not paint over the fill.
    form.lamp.set_colors(platform::colors::white, platform::colors::yellow);
    EXPECT_EQ(lamp->grab().toImage().pixelColor(middle), QColor(Qt::green));
    EXPECT_EQ(lamp->grab().toImage().pixelColor(0, 0), QColor(Qt::black));
}

// The visible share of a picture drawn at the size its button gives it.
double covered(const char* name, int pixels) {
    const QImage image = platform::qt::render_picture(name, {pixels, pixels}, 1.0).toImage();
    if (image.isNull()) {
        return 0.0;
    }
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            opaque += image.pixelColor(x, y).alpha() > 128 ? 1 : 0;
        }
    }
    return static_cast<double>(opaque) / (pixels * pixels);
}

TEST(MessagePicturesTest, BothButtonPicturesAreBuiltInAndFillTheirButton) {
    EXPECT_GT(covered("send_message", 19), 0.4) << "the button that opens the message window";
    EXPECT_GT(covered("send", 34), 0.25) << "the button that sends the message";
}

}  // namespace
