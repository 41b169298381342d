#include "platform/qt/form_renderer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <string>

#include "app/form1.h"
#include "fakes/fake_services.h"
#include "platform/failure.h"
#include "platform/forms.h"
#include "platform/qt/rendered_form.h"

namespace {

using platform::qt::FormRenderer;
using qt_test::rows_of;

// The program's main window, as the running program shows it.
class FormRendererTest : public testing::Test {
  protected:
    QWidget* find(const char* name) const { return renderer.window().findChild<QWidget*>(name); }

    fakes::FakeServices fake;
    app::Form1 form1{fake.services()};
    ui::MainWindow& window = form1.window();
    FormRenderer renderer{window};
};

TEST_F(FormRendererTest, FocusOnTheListMovesOnToTheParkingButton) {
    window.set_visible(true);
    renderer.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&renderer.window()));
    window.CONNECT_BUTTON.set_focus();
    ASSERT_EQ(QApplication::focusWidget(), find("CONNECT_BUTTON"));

    find("STATUS_LIST")->setFocus(Qt::MouseFocusReason);

    EXPECT_EQ(window.focused(), &window.TAB_STOP_ZERO);
    EXPECT_EQ(QApplication::focusWidget(), find("TAB_STOP_ZERO"));
    EXPECT_TRUE(find("TAB_STOP_ZERO")->isVisible())
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

using FormRendererSyncTest = qt_test::RenderedForm<SampleForm>;

TEST_F(FormRendererSyncTest, ModelChangesReachTheWidgets) {
    form.set_caption("Renamed");
    EXPECT_EQ(renderer.window().windowTitle(), "Renamed");

    form.text.set_caption("<b>not markup</b>");
    form.text.set_tooltip("tip");
    form.text.set_geometry({300, 450, 600, 150});
    form.text.set_colors(platform::colors::red, platform::colors::green);
    form.text.set_font({"Arial", 12, true});
    auto* text = find<QLabel>("text");
    EXPECT_EQ(text->text(), "<b>not markup</b>");
    EXPECT_EQ(text->textFormat(), Qt::PlainText);
    EXPECT_EQ(text->toolTip(), "tip");
    EXPECT_EQ(text->geometry(), QRect(20, 30, 40, 10));
    EXPECT_EQ(text->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(text->palette().color(QPalette::Window), QColor(Qt::green));
    EXPECT_DOUBLE_EQ(text->font().pointSizeF(), 12);
    EXPECT_TRUE(text->font().bold());

    form.press.set_caption("Go");
    form.press.set_enabled(false);
    EXPECT_EQ(find<QPushButton>("press")->text(), "Go");
    EXPECT_FALSE(find<QPushButton>("press")->isEnabled());

    form.picture.set_picture("no such picture");
    EXPECT_TRUE(find<QPushButton>("picture")->icon().isNull());
    form.picture.set_picture("disconnect");
    EXPECT_FALSE(find<QPushButton>("picture")->icon().isNull());
}

// The list widget catches up with its model a moment later.
bool shows(const QListWidget& list, const QStringList& rows) {
    return QTest::qWaitFor([&] { return rows_of(*list.model()) == rows; }, 2000);
}

TEST_F(FormRendererSyncTest, ListCatchesUpWithInsertionsRemovalsAndTheSelectedLine) {
    QListWidget& list = *find<QListWidget>("lines");
    form.lines.insert(0, "b");
    form.lines.insert(0, "a");
    form.lines.insert(2, "d");
    form.lines.insert(2, "c");
    EXPECT_TRUE(shows(list, {"a", "b", "c", "d"}));

    form.lines.remove(3);
    form.lines.remove(0);
    form.lines.remove(1);
    EXPECT_TRUE(shows(list, {"b"}));

    // A renderer made later shows the lines that are already there, at once.
    FormRenderer late{form};
    EXPECT_EQ(rows_of(*late.window().findChild<QListWidget*>("lines")->model()),
              QStringList({"b"}));

    // The selected line moves with its text.
    form.lines.insert(0, "a");
    form.lines.insert(2, "c");
    form.lines.insert(3, "d");
    ASSERT_TRUE(shows(list, {"a", "b", "c", "d"}));
    list.setCurrentRow(2);  // "c", as the user would pick it

    form.lines.insert(0, "new");
    form.lines.remove(0 + 4);  // "d"
    form.lines.remove(1);      // "a"
    form.lines.insert(1, "newer");
    ASSERT_TRUE(shows(list, {"new", "newer", "b", "c"}));
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_TRUE(list.item(3)->isSelected());

    form.lines.remove(3);
    ASSERT_TRUE(shows(list, {"new", "newer", "b"}));
    EXPECT_TRUE(list.selectedItems().isEmpty()) << "the selected line is gone";

    // A line the user picks while the widget lags behind stays picked.
    form.lines.insert(0, "newest");
    list.setCurrentRow(1);
    ASSERT_TRUE(shows(list, {"newest", "new", "newer", "b"}));
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(FormRendererSyncTest, ExceptionsFromHandlersStayInsideTheEventLoop) {
    int clicks = 0;
    form.press.on_click([&] {
        ++clicks;
        throw platform::Failure("navigator gone");
    });
    ASSERT_TRUE(show_active());
    form.lines.on_got_focus([] { throw 42; });

    testing::internal::CaptureStderr();
    QTest::mouseClick(find<QPushButton>("press"), Qt::LeftButton);
    find("lines")->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(find<QPushButton>("press"), Qt::LeftButton);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_EQ(clicks, 2) << "the button works again after its handler failed";
    EXPECT_NE(errors.find("click on press: navigator gone\n"), std::string::npos) << errors;
    EXPECT_NE(errors.find("focus on lines: unknown exception\n"), std::string::npos) << errors;
}

}  // namespace
