#include "platform/qt/qt_message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/form.h"

namespace {

using platform::qt::message_text;

TEST(QtMessageBoxTest, BoxShowsTitleIconAndTextWithEachKindOfLineBreakAsOneAndOneOkButton) {
    const std::vector<std::pair<std::string, QString>> cases{
        {"first\n\rsecond", "first\nsecond"},
        {"paragraph\n\r\n\rnext\n\r", "paragraph\n\nnext\n"},
        {"dos\r\nstyle", "dos\nstyle"},
        {"bare\nfeed\rreturn", "bare\nfeed\nreturn"},
        {"two\n\nfeeds\r\rreturns", "two\n\nfeeds\n\nreturns"},
        {"mixed\n\r\r\nbreaks", "mixed\n\nbreaks"},
        {"\xc3\xa4nderung", "\u00e4nderung"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(message_text(text), shown) << text;
    }

    const auto box = platform::qt::make_message_box(
        platform::MessageIcon::Critical, "INI File Error...", "Cannot read <Orvanta.ini>\n\rok");
    EXPECT_EQ(box->windowTitle(), "INI File Error...");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), "Cannot read <Orvanta.ini>\nok");
    EXPECT_EQ(box->textFormat(), Qt::PlainText) << "angle brackets are no markup";
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "above the splash";
    EXPECT_EQ(platform::qt::make_message_box(platform::MessageIcon::Information, "t", "x")->icon(),
              QMessageBox::Information);
}

TEST(QtMessageBoxTest, BoxBlocksOnlyItsOwnersWindow) {
    platform::qt::QtDesktop desktop;
    platform::qt::QtMessageBox boxes(desktop);
    // The main window has no window of its own while start-up shows its boxes.
    const platform::Form starting("Form1");
    platform::Form splash("frmSplash");
    platform::Form options("Options");
    int splash_clicks = 0;
    int options_clicks = 0;
    splash.on_click([&] { ++splash_clicks; });
    options.on_click([&] { ++options_clicks; });
    for (platform::Form* form : {&splash, &options}) {
        form->set_client_size(3000, 1500);
        form->set_visible(true);
        desktop.open(*form);
    }
    // Clicks the form while the box waits, then presses the box's OK.
    const auto click_while_open = [&](const platform::Form& target) {
        QTimer::singleShot(0, [&desktop, &target] {
            QWindow* window = desktop.renderer_of(target)->window().windowHandle();
            QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(20, 20));
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->accept();
            }
        });
    };

    click_while_open(splash);
    boxes.show(starting, platform::MessageIcon::Critical, "INI File Missing...", "text");
    EXPECT_EQ(splash_clicks, 1) << "the splash can be clicked away beside a start-up box";

    click_while_open(options);
    boxes.show(options, platform::MessageIcon::Information, "Invalid Setting...", "text");
    EXPECT_EQ(options_clicks, 0) << "the box's own window waits for its OK";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
