#include "platform/qt/form_renderer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form1.h"
#include "fakes/fake_services.h"
#include "platform/failure.h"
#include "platform/forms.h"

namespace {

using platform::qt::FormRenderer;

QStringList rows_of(const QListWidget& list) {
    QStringList rows;
    for (int row = 0; row < list.count(); ++row) {
        rows << list.item(row)->text();
    }
    return rows;
}

// Shows the window and waits until it may hold the keyboard focus.
bool show_active(platform::Form& form, QWidget& window) {
    form.set_visible(true);
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The program's main window, as the running program shows it.
class FormRendererTest : public testing::Test {
  protected:
    template <typename Widget>
    Widget* find(const char* name) const {
        return renderer.window().findChild<Widget*>(name);
    }

    fakes::FakeServices fake;
    fakes::FakeNavigator& navigator = fake.navigator;
    app::Form1 form1{fake.services()};
    ui::MainWindow& window = form1.window();
    FormRenderer renderer{window};
};

TEST_F(FormRendererTest, LaysOutTheMainWindowAtTwipsOverFifteen) {
    QWidget& shown = renderer.window();
    EXPECT_EQ(shown.windowTitle(), "Orvanta");
    EXPECT_EQ(shown.size(), QSize(161, 275));
    EXPECT_EQ(shown.minimumSize(), shown.maximumSize()) << "the window must not be resizable";
    EXPECT_EQ(shown.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(shown.isVisible(), window.visible()) << "the window shows as the model has it";

    const std::vector<std::pair<const char*, QRect>> places{
        {"TAB_STOP_ZERO", {176, 256, 41, 25}},
        {"CONNECT_BUTTON", {8, 48, 25, 25}},
        {"DISCONNECT_BUTTON", {32, 48, 25, 25}},
        {"STATUS_LIST", {8, 80, 145, 180}},
        {"TIME_LAST_ISP_CONNECT_LABEL", {72, 262, 78, 17}},
    };
    for (const auto& [name, place] : places) {
        const QWidget* widget = find<QWidget>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->geometry(), place) << name;
        EXPECT_EQ(widget, renderer.widget_of(*window.find(name))) << name;
    }

    for (const char* name : {"CONNECT_BUTTON", "DISCONNECT_BUTTON"}) {
        const auto* button = find<QPushButton>(name);
        EXPECT_FALSE(button->icon().isNull()) << name << " lost its picture";
        EXPECT_TRUE(button->text().isEmpty()) << name;
    }
    EXPECT_EQ(find<QPushButton>("TAB_STOP_ZERO")->text(), "Tab 0");

    const auto* label = find<QLabel>("TIME_LAST_ISP_CONNECT_LABEL");
    EXPECT_EQ(label->text(), "na");
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    EXPECT_EQ(label->toolTip(), "Displays the time that Orvanta last connected to the Internet");
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);

    const auto* list = find<QListWidget>("STATUS_LIST");
    EXPECT_TRUE(list->font().bold());
    EXPECT_DOUBLE_EQ(list->font().pointSizeF(), 5.25);
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::black));
}

TEST_F(FormRendererTest, ClickOnConnectWritesTheCommandToTheList) {
    navigator.connection = 2;
    navigator.signal = 1;
    ASSERT_TRUE(show_active(window, renderer.window()));

    QTest::mouseClick(find<QPushButton>("CONNECT_BUTTON"), Qt::LeftButton);

    EXPECT_EQ(rows_of(*find<QListWidget>("STATUS_LIST")),
              QStringList({"     --------------------------------------", "     12:00pm",
                           "     Local command: CONNECT"}));
    EXPECT_EQ(navigator.dials(), 1);
    EXPECT_EQ(find<QLabel>("TIME_LAST_ISP_CONNECT_LABEL")->text(),
              QString::fromStdString(window.TIME_LAST_ISP_CONNECT_LABEL.caption()));
    // The handler parks the focus, and the widgets follow the model there.
    EXPECT_EQ(window.focused(), &window.TAB_STOP_ZERO);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>("TAB_STOP_ZERO"));
}

TEST_F(FormRendererTest, FocusOnTheListMovesOnToTheParkingButton) {
    ASSERT_TRUE(show_active(window, renderer.window()));
    window.CONNECT_BUTTON.set_focus();
    ASSERT_EQ(QApplication::focusWidget(), find<QWidget>("CONNECT_BUTTON"));

    find<QWidget>("STATUS_LIST")->setFocus(Qt::MouseFocusReason);

    EXPECT_EQ(window.focused(), &window.TAB_STOP_ZERO);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>("TAB_STOP_ZERO"));
    EXPECT_TRUE(find<QWidget>("TAB_STOP_ZERO")->isVisible())
        << "the parking button lies outside the window but must still exist for Qt";
}

// A form with one control of each kind, for what the main window never does.
class SampleForm : public platform::Form {
  public:
    SampleForm() : platform::Form("Sample") {
        set_caption("Sample");
        set_client_size(3000, 3000);
        text.set_geometry({150, 150, 1500, 300});
        lines.set_geometry({150, 600, 1500, 1500});
        press.set_geometry({1800, 150, 900, 450});
        picture.set_geometry({1800, 750, 450, 450});
        picture.set_picture("connect");
    }

    platform::Label text{*this, "text"};
    platform::ListBox lines{*this, "lines"};
    platform::CommandButton press{*this, "press"};
    platform::PictureButton picture{*this, "picture"};
};

class FormRendererSyncTest : public testing::Test {
  protected:
    template <typename Widget>
    Widget* find(const char* name) const {
        return renderer.window().findChild<Widget*>(name);
    }

    SampleForm form;
    FormRenderer renderer{form};
};

TEST_F(FormRendererSyncTest, ModelChangesReachTheWidgets) {
    form.set_caption("Renamed");
    form.set_client_size(1500, 750);
    form.set_visible(true);
    EXPECT_EQ(renderer.window().windowTitle(), "Renamed");
    EXPECT_EQ(renderer.window().size(), QSize(100, 50));
    EXPECT_TRUE(renderer.window().isVisible());

    form.text.set_caption("<b>not markup</b>");
    form.text.set_tooltip("tip");
    form.text.set_geometry({300, 450, 600, 150});
    form.text.set_colors(platform::colors::red, platform::colors::green);
    auto* text = find<QLabel>("text");
    EXPECT_EQ(text->text(), "<b>not markup</b>");
    EXPECT_EQ(text->textFormat(), Qt::PlainText);
    EXPECT_EQ(text->toolTip(), "tip");
    EXPECT_EQ(text->geometry(), QRect(20, 30, 40, 10));
    EXPECT_EQ(text->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(text->palette().color(QPalette::Window), QColor(Qt::green));

    form.press.set_caption("Go");
    form.press.set_enabled(false);
    form.picture.set_visible(false);
    EXPECT_EQ(find<QPushButton>("press")->text(), "Go");
    EXPECT_FALSE(find<QPushButton>("press")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("picture")->isVisible());
    form.picture.set_visible(true);
    EXPECT_TRUE(find<QPushButton>("picture")->isVisible());

    form.picture.set_picture("no such picture");
    EXPECT_TRUE(find<QPushButton>("picture")->icon().isNull());
    form.picture.set_picture("disconnect");
    EXPECT_FALSE(find<QPushButton>("picture")->icon().isNull());
}

TEST_F(FormRendererSyncTest, ListFollowsInsertionsAndRemovalsByIndex) {
    form.lines.insert(0, "b");
    form.lines.insert(0, "a");
    form.lines.insert(2, "d");
    form.lines.insert(2, "c");
    EXPECT_EQ(rows_of(*find<QListWidget>("lines")), QStringList({"a", "b", "c", "d"}));

    form.lines.remove(3);
    form.lines.remove(0);
    form.lines.remove(1);
    EXPECT_EQ(rows_of(*find<QListWidget>("lines")), QStringList({"b"}));

    // A renderer made later shows the lines that are already there.
    FormRenderer late{form};
    EXPECT_EQ(rows_of(*late.window().findChild<QListWidget*>("lines")), QStringList({"b"}));
}

TEST_F(FormRendererSyncTest, ExceptionsFromHandlersStayInsideTheEventLoop) {
    int clicks = 0;
    form.press.on_click([&] {
        ++clicks;
        throw platform::Failure("navigator gone");
    });
    form.picture.on_click([] { throw std::logic_error("bug"); });
    ASSERT_TRUE(show_active(form, renderer.window()));
    form.lines.on_got_focus([] { throw 42; });

    testing::internal::CaptureStderr();
    QTest::mouseClick(find<QPushButton>("press"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>("picture"), Qt::LeftButton);
    find<QWidget>("lines")->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(find<QPushButton>("press"), Qt::LeftButton);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_EQ(clicks, 2) << "the button works again after its handler failed";
    EXPECT_NE(errors.find("click on press: navigator gone\n"), std::string::npos) << errors;
    EXPECT_NE(errors.find("click on picture: bug\n"), std::string::npos) << errors;
    EXPECT_NE(errors.find("focus on lines: unknown exception\n"), std::string::npos) << errors;
}

}  // namespace
