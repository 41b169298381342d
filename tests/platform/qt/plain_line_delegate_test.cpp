#include "platform/qt/plain_line_delegate.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QTest>

namespace {

class PlainLineDelegateTest : public testing::Test {
  protected:
    void SetUp() override {
        list.setItemDelegate(new platform::qt::PlainLineDelegate(&list));
        list.setUniformItemSizes(true);
        list.addItems({"plain", "<b>plain</b>", "selected"});
        list.setCurrentRow(2);
        list.resize(240, 120);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        image = list.viewport()->grab().toImage();
    }

    // The rightmost pixel of the row that is not its background; -1 for none.
    int ink_end(int row, QColor background) const {
        const QRect rect = list.visualItemRect(list.item(row));
        for (int x = rect.right(); x >= rect.left(); --x) {
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                if (image.pixelColor(x, y) != background) {
                    return x;
                }
            }
        }
        return -1;
    }

    QListWidget list;
    QImage image;
};

TEST_F(PlainLineDelegateTest, RowsAreOneLineAsWideAsTheListDrawnPlainlyInTheStylesColours) {
    const QRect first = list.visualItemRect(list.item(0));
    // No item margins: no more than the font's line spacing.
    EXPECT_LE(first.height(), QFontMetrics(list.font()).lineSpacing());
    EXPECT_GE(first.height(), QFontMetrics(list.font()).height() - 1);
    EXPECT_EQ(list.visualItemRect(list.item(1)).top(), first.bottom() + 1);
    EXPECT_GE(first.width(), list.viewport()->width() - 1);

    const QPalette palette = list.palette();
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const int plain = ink_end(0, base);
    ASSERT_GT(plain, 0) << "no text drawn";
    EXPECT_GT(ink_end(1, base), plain + 10) << "markup must be drawn as the characters it is";

    const QRect selected = list.visualItemRect(list.item(2));
    const QColor highlight = image.pixelColor(selected.right() - 2, selected.center().y());
    EXPECT_NE(highlight, base) << "the selected row has no highlight";
    EXPECT_GT(ink_end(2, highlight), 0) << "the selected row's text is not drawn";
}

}  // namespace
