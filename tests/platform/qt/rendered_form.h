#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include "platform/qt/form_renderer.h"

namespace qt_test {

// The text of each row of a list's or a combo box's model.
inline QStringList rows_of(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        rows << model.index(row, 0).data().toString();
    }
    return rows;
}

// A test of the renderer on a form of type F, shown through its own window.
template <typename F>
class RenderedForm : public testing::Test {
  protected:
    QWidget& window() const { return renderer.window(); }
    // The widget of the control called `name`.
    template <typename Widget = QWidget>
    Widget* find(const char* name) const {
        return window().template findChild<Widget*>(name);
    }
    // Shows the window and waits until it may hold the keyboard focus.
    bool show_active() {
        form.set_visible(true);
        window().activateWindow();
        return QTest::qWaitForWindowActive(&window());
    }

    F form;
    platform::qt::FormRenderer renderer{form};
};

}  // namespace qt_test
