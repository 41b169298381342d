#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <string>

#include "platform/forms.h"
#include "platform/qt/form_renderer.h"
#include "platform/qt/rendered_form.h"

namespace {

using platform::qt::FormRenderer;
using qt_test::rows_of;

// A one-line field, a message field of 350 characters, a log and a list of
// addresses, as the message windows have them.
class TextForm : public platform::Form {
  public:
    TextForm() : platform::Form("Texts") {
        set_client_size(7500, 6000);
        name.set_geometry({150, 150, 3000, 300});
        name.set_max_length(10);
        message.set_geometry({150, 600, 5160, 1575});
        message.set_multi_line(true);
        message.set_max_length(350);
        log.set_geometry({150, 2400, 5160, 1200});
        log.set_multi_line(true);
        addresses.set_geometry({150, 3900, 3000, 330});
    }

    platform::TextBox name{*this, "name"};
    platform::TextBox message{*this, "message"};
    platform::TextBox log{*this, "log"};
    platform::ComboBox addresses{*this, "addresses"};
};

// The log as the messages window fills it: one message added at a time.
std::string fill_log(TextForm& form) {
    std::string text;
    for (int line = 1; line <= 40; ++line) {
        text += "message " + std::to_string(line) + "\r\n";
        form.log.set_text(text);
    }
    return text;
}

bool at_end(const QScrollBar& bar) {
    return bar.value() == bar.maximum();
}

class TextViewsTest : public qt_test::RenderedForm<TextForm> {
  protected:
    void SetUp() override { ASSERT_TRUE(show_active()); }
};

TEST_F(TextViewsTest, ProgramTextIsShownAndNotReportedBack) {
    form.name.set_text("Orvanta");
    form.message.set_text("first line\r\nsecond\nthird");
    EXPECT_EQ(find<QLineEdit>("name")->text(), "Orvanta");
    EXPECT_EQ(find<QPlainTextEdit>("message")->toPlainText(), "first line\nsecond\nthird");
    EXPECT_EQ(form.message.text(), "first line\r\nsecond\nthird")
        << "the widget's own line breaks must not come back to the model";
}

TEST_F(TextViewsTest, UserTypingReachesTheModel) {
    auto* message = find<QPlainTextEdit>("message");
    QTest::keyClicks(message, "hello");
    QTest::keyClick(message, Qt::Key_Return);
    QTest::keyClicks(message, "world");
    EXPECT_EQ(form.message.text(), "hello\r\nworld") << "line breaks reach the model as CR LF";

    QTest::keyClick(message, Qt::Key_Backspace);
    EXPECT_EQ(form.message.text(), "hello\r\nworl");
    message->undo();
    EXPECT_EQ(form.message.text(), "hello\r\nworld") << "undo is an edit of the user's too";

    // The program takes the text back, as after sending a message.
    form.message.set_text("");
    EXPECT_TRUE(message->toPlainText().isEmpty());
    QTest::keyClicks(message, "again");
    EXPECT_EQ(form.message.text(), "again");
}

TEST_F(TextViewsTest, MaximumLengthHoldsInBothKindsOfField) {
    QTest::keyClicks(find<QLineEdit>("name"), "0123456789ABCDE");
    EXPECT_EQ(find<QLineEdit>("name")->text(), "0123456789");
    EXPECT_EQ(form.name.text(), "0123456789");

    auto* message = find<QPlainTextEdit>("message");
    QTest::keyClicks(message, QString(360, 'x'));
    EXPECT_EQ(message->toPlainText(), QString(350, 'x'));
    EXPECT_EQ(form.message.text(), std::string(350, 'x'));

    QTest::keyClick(message, Qt::Key_Backspace);
    QTest::keyClick(message, Qt::Key_Return);
    EXPECT_EQ(message->toPlainText(), QString(349, 'x'))
        << "a line break is two characters and does not fit in one";
    message->insertPlainText(QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80"));
    EXPECT_EQ(form.message.text(), std::string(349, 'x') + "\xF0\x9F\x98\x80")
        << "a character outside the basic plane is one, and is never split";
}

TEST_F(TextViewsTest, LogThatIsAppendedToStaysAtItsEndUnlessScrolledBackOrReplaced) {
    auto* log = find<QPlainTextEdit>("log");
    QScrollBar& bar = *log->verticalScrollBar();
    std::string text = fill_log(form);
    ASSERT_GT(bar.maximum(), 0) << "the log must be longer than its field for this test";
    EXPECT_TRUE(at_end(bar));

    bar.setValue(3);
    text += "one more\r\n";
    form.log.set_text(text);
    EXPECT_EQ(bar.value(), 3) << "a reader who scrolled back is not moved";

    bar.setValue(bar.maximum());
    text += "and another\r\n";
    form.log.set_text(text);
    EXPECT_TRUE(at_end(bar));

    // A text put in the log's place, not added to it, is read from its start.
    log->moveCursor(QTextCursor::End);
    form.log.set_text("first\r\n" + text);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(log->textCursor().position(), 0);
}

// The messages window fills its log while it is still hidden.
using MultiLineTextBoxViewTest = qt_test::RenderedForm<TextForm>;

TEST_F(MultiLineTextBoxViewTest, LogFilledWhileHiddenShowsItsEndOnceShown) {
    fill_log(form);
    form.set_visible(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    const QScrollBar& bar = *find<QPlainTextEdit>("log")->verticalScrollBar();
    EXPECT_GT(bar.maximum(), 0);
    EXPECT_TRUE(at_end(bar));
}

TEST_F(TextViewsTest, FocusMovedByTheUserReachesTheForm) {
    QTest::mouseClick(find<QPlainTextEdit>("message")->viewport(), Qt::LeftButton);
    EXPECT_EQ(form.focused(), &form.message);
    QTest::mouseClick(find<QComboBox>("addresses")->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(form.focused(), &form.addresses);

    form.message.set_focus();
    QTest::keyClick(find<QPlainTextEdit>("message"), Qt::Key_Tab);
    EXPECT_EQ(form.focused(), &form.log) << "Tab moves on, as in every other control";
    EXPECT_EQ(form.message.text(), "");
}

TEST_F(TextViewsTest, ComboBoxLinesFollowInsertionsAndTheTextFollowsTheUser) {
    auto* addresses = find<QComboBox>("addresses");
    form.addresses.set_text("192.168.1.9");
    EXPECT_EQ(addresses->currentText(), "192.168.1.9");

    form.addresses.insert(0, "10.0.0.2");
    form.addresses.insert(0, "10.0.0.1");
    form.addresses.insert(2, "10.0.0.4");
    form.addresses.insert(2, "10.0.0.3");
    EXPECT_EQ(rows_of(*addresses->model()),
              QStringList({"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}));
    EXPECT_EQ(addresses->currentText(), "192.168.1.9") << "adding a line does not pick it";
    EXPECT_EQ(form.addresses.text(), "192.168.1.9");

    // A renderer made later shows the lines that are already there.
    FormRenderer late{form};
    auto* late_addresses = late.window().findChild<QComboBox*>("addresses");
    EXPECT_EQ(rows_of(*late_addresses->model()), rows_of(*addresses->model()));
    EXPECT_EQ(late_addresses->currentText(), "192.168.1.9");
    // What the user types or picks reaches the model.
    form.addresses.insert(0, "10.0.0.12");
    form.addresses.insert(1, "10.0.0.5");

    form.addresses.set_text("");
    form.addresses.set_focus();
    QTest::keyClicks(addresses->lineEdit(), "10.0.0.1");
    EXPECT_EQ(addresses->currentText(), "10.0.0.1")
        << "a typed address is never completed to a longer one";
    EXPECT_EQ(form.addresses.text(), "10.0.0.1");
    QTest::keyClick(addresses->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(addresses->count(), 6) << "typing never adds a line";

    form.addresses.set_text("");
    QTest::keyClick(addresses, Qt::Key_Down);
    EXPECT_EQ(form.addresses.text(), "10.0.0.12");
    QTest::keyClick(addresses, Qt::Key_Down);
    EXPECT_EQ(form.addresses.text(), "10.0.0.5");

    // The program empties the text; picking the same line again still counts.
    form.addresses.set_text("");
    addresses->showPopup();
    QAbstractItemView& popup = *addresses->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup.window()));
    const QRect second = popup.visualRect(popup.model()->index(1, 0));
    QTest::mouseClick(popup.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(form.addresses.text(), "10.0.0.5");
    EXPECT_EQ(addresses->currentText(), "10.0.0.5");
}

}  // namespace
