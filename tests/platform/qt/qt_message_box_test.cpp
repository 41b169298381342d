#include "platform/qt/qt_message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::qt::message_text;

TEST(QtMessageBoxTest, EachKindOfLineBreakIsOneBreak) {
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
}

TEST(QtMessageBoxTest, BoxShowsTitleIconAndTextExactlyWithOneOkButton) {
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

}  // namespace
