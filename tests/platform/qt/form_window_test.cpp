#include "platform/qt/form_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/qt/form_renderer.h"
#include "platform/qt/picture.h"
#include "platform/qt/rendered_form.h"

namespace {

// A form with controls to click past, counting the actions on itself.
class PictureForm : public platform::Form {
  public:
    PictureForm() : platform::Form("PictureForm") {
        set_client_size(7035, 3000);
        set_back_color(platform::colors::black);
        note.set_geometry({150, 150, 1500, 300});
        note.set_colors(platform::colors::yellow, platform::colors::green);
        press.set_geometry({150, 750, 1500, 450});
        on_click([this] { ++clicks; });
        on_key_press([this] { ++keys; });
        on_close_request([this] { ++close_requests; });
        press.on_click([this] { ++presses; });
    }

    platform::Label note{*this, "note"};
    platform::CommandButton press{*this, "press"};
    int clicks = 0, keys = 0, close_requests = 0, presses = 0;
};

using FormRendererWindowTest = qt_test::RenderedForm<PictureForm>;

TEST_F(FormRendererWindowTest, PlaceAndSizeAreTwipsOverFifteenBothWays) {
    form.move(1500, 3000);
    form.set_height(1500 + platform::Form::frame_height);
    EXPECT_EQ(window().pos(), QPoint(100, 200));
    EXPECT_EQ(window().size(), QSize(469, 100));

    form.set_visible(true);
    form.move(3010, 1505);
    QApplication::processEvents();
    EXPECT_EQ(window().pos(), QPoint(200, 100));
    EXPECT_EQ(form.left(), 3010) << "our own move must not come back rounded";

    window().move(250, 120);  // as a window manager would
    QApplication::processEvents();
    EXPECT_EQ(form.left(), 250 * 15);
    EXPECT_EQ(form.top(), 120 * 15);
    form.set_visible(false);
    window().move(10, 10);
    QApplication::processEvents();
    EXPECT_EQ(form.left(), 250 * 15) << "a hidden window is moved only by the program";
}

TEST_F(FormRendererWindowTest, KeptOnTopOnlyWhileAskedAndNeverHiddenForIt) {
    form.set_stays_on_top(true);
    // A window made for a form already on top, as the splash is, starts so.
    EXPECT_TRUE(
        platform::qt::FormRenderer(form).window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form.set_visible(true);
    ASSERT_NE(window().windowHandle(), nullptr);
    const QWindow* native = window().windowHandle();
    EXPECT_TRUE(native->flags().testFlag(Qt::WindowStaysOnTopHint));

    form.set_stays_on_top(false);
    EXPECT_TRUE(window().isVisible()) << "a changed layer must not hide the window";
    EXPECT_EQ(window().windowHandle(), native);
    EXPECT_FALSE(native->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(FormWindowTest, LateEchoesOfItsOwnMovesAreNotTheUsers) {
    platform::qt::FormWindow window;
    std::vector<QPoint> reported;
    platform::qt::FormWindow::Reactions reactions;
    reactions.moved = [&](QPoint position) { reported.push_back(position); };
    window.react(reactions);
    window.show();
    QApplication::processEvents();
    reported.clear();

    window.place({10, 10});
    window.place({20, 20});
    // The window system confirms each request in turn, after both were made.
    window.move(10, 10);
    window.move(20, 20);
    window.move(30, 40);
    EXPECT_EQ(reported, std::vector<QPoint>({{30, 40}}));
}

TEST_F(FormRendererWindowTest, PictureFillsTheBackgroundBeneathTheControls) {
    const QPoint open_surface(300, 150);
    form.set_visible(true);
    form.set_picture("splash");
    const QImage shown = window().grab().toImage();
    const QImage picture = platform::qt::render_picture("splash", window().size(), 1).toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(shown.pixelColor(open_surface), picture.pixelColor(open_surface));
    EXPECT_EQ(shown.pixelColor(90, 25), QColor(Qt::green)) << "the label is drawn over it";

    form.set_picture("");
    EXPECT_EQ(window().grab().toImage().pixelColor(open_surface), QColor(Qt::black));
}

TEST_F(FormRendererWindowTest, ClicksKeysAndCloseRequestsOnTheWindowItselfReachTheForm) {
    ASSERT_TRUE(show_active());
    QTest::mouseClick(&window(), Qt::LeftButton, {}, QPoint(300, 150));
    // The label passes presses on to the window; they are still on the label.
    QTest::mouseClick(find<QLabel>("note"), Qt::LeftButton);
    auto* press = find<QPushButton>("press");
    QTest::mouseClick(press, Qt::LeftButton);
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(form.presses, 1);

    QTest::keyClick(&window(), Qt::Key_A);
    QTest::keyClick(&window(), Qt::Key_Shift);
    press->setFocus();
    QTest::keyClick(press, Qt::Key_F5);     // of no use to the button
    QTest::keyClick(press, Qt::Key_Space);  // the button's own
    EXPECT_EQ(form.keys, 2);
    EXPECT_EQ(form.presses, 2);

    // Close requests go to the form, which alone closes the window.
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(form.close_requests, 1);

    form.on_close_request([] { throw std::runtime_error("not now"); });
    testing::internal::CaptureStderr();
    window().close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "orvanta: close request on PictureForm: not now\n");

    form.on_close_request([this] { form.set_visible(false); });
    window().close();
    EXPECT_FALSE(window().isVisible());
}

}  // namespace
