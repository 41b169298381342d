#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt/picture.h"

namespace {

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
