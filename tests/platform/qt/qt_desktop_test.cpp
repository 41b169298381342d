#include "platform/qt/qt_desktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "platform/forms.h"

namespace {

using platform::qt::QtDesktop;

std::unique_ptr<platform::Form> shown_form() {
    auto form = std::make_unique<platform::Form>("Shown");
    form->set_client_size(3000, 1500);
    form->set_visible(true);
    return form;
}

// What the event loop does for deleteLater once the running handler is over.
void finish_deferred_deletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(QtDesktopTest, ClosedWindowHidesAtOnceAndStopsFollowing) {
    QtDesktop desktop;
    const auto form = shown_form();
    desktop.open(*form);
    const QPointer<QWidget> window = &desktop.renderer_of(*form)->window();
    desktop.open(*form);
    EXPECT_EQ(&desktop.renderer_of(*form)->window(), window);
    EXPECT_TRUE(window->isVisible());

    desktop.close(*form);
    EXPECT_EQ(desktop.renderer_of(*form), nullptr);
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    form->set_visible(false);
    form->set_visible(true);
    EXPECT_FALSE(window->isVisible());
    finish_deferred_deletes();  // while the form is still there
}

TEST(QtDesktopTest, HandlersInsideTheWindowMayCloseAndEndTheirForm) {
    QtDesktop desktop;
    for (const bool by_click : {true, false}) {
        auto form = shown_form();
        const auto close_and_end = [&] {
            desktop.close(*form);
            form.reset();
        };
        form->on_click(close_and_end);
        form->on_close_request(close_and_end);
        desktop.open(*form);
        const QPointer<QWidget> window = &desktop.renderer_of(*form)->window();
        if (by_click) {
            QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(100, 50));
        } else {
            window->close();
        }
        EXPECT_EQ(form, nullptr) << by_click;
        finish_deferred_deletes();
        EXPECT_TRUE(window.isNull()) << by_click;
    }
}

TEST(QtDesktopTest, BringsForwardAndFadesOutOpenFormsAndLeavesOthersAlone) {
    QtDesktop desktop;
    const auto form = shown_form();
    const auto other = shown_form();
    desktop.open(*form);
    desktop.open(*other);
    QWidget& window = desktop.renderer_of(*form)->window();
    desktop.bring_to_front(*form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));

    platform::Form unopened("Unopened");
    desktop.bring_to_front(unopened);
    EXPECT_EQ(desktop.renderer_of(unopened), nullptr);
    EXPECT_FALSE(unopened.visible());

    unopened.set_visible(true);
    QElapsedTimer clock;
    clock.start();
    desktop.fade_out(unopened, 5000);
    EXPECT_LT(clock.elapsed(), 100) << "nothing to fade";
    desktop.fade_out(*form, 300);
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_FALSE(form->visible());
    EXPECT_FALSE(window.isVisible());
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0) << "shown again, it must be seen";
}

// In a process of its own: once ended, an event loop does not start again.
TEST(QtDesktopDeathTest, QuitEndsTheProgramWithoutAskingTheWindows) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto run = [] {
        QtDesktop desktop;
        const auto form = shown_form();
        bool asked = false;
        form->on_close_request([&] { asked = true; });
        desktop.open(*form);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(3); });
        desktop.quit();
        const int code = QApplication::exec();
        std::exit(asked ? 2 : code);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}

}  // namespace
