#include "ui/status_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "platform/forms.h"

namespace {

class StatusLogTest : public ::testing::Test {
  protected:
    void fill(int lines) {
        for (int i = 0; i < lines; ++i) {
            list.insert(list.count(), "old " + std::to_string(i));
        }
    }

    platform::Form form{"Form1"};
    platform::ListBox list{form, "STATUS_LIST"};
    fakes::FakeClock clock;
    ui::StatusLog log{list, clock};
};

TEST_F(StatusLogTest, TrimsFromTheBottomSoTheLogNeverPassesTwentyTwoLinesUnlessAskedNotTo) {
    // A full log takes a 3-line block: the three oldest lines go.
    fill(22);
    log.write("     new");
    ASSERT_EQ(list.count(), 22);
    EXPECT_EQ(list.item(0), ui::StatusLog::separator);
    EXPECT_EQ(list.item(2), "     new");
    EXPECT_EQ(list.item(3), "old 0");
    EXPECT_EQ(list.item(21), "old 18");

    clock.set_time(0, 30);
    log.write_untrimmed({"     a", "     b", "      c", "      d"});
    ASSERT_EQ(list.count(), 28);
    EXPECT_EQ(list.item(1), "     12:30am");
    EXPECT_EQ(list.item(5), "      d");
    EXPECT_EQ(list.item(8), "     new");
}

TEST_F(StatusLogTest, TrimRemovesOnlyWhatABlockNeedsAndNeverFails) {
    fill(10);
    log.write("     message", "     detail");
    EXPECT_EQ(list.count(), 14);  // nothing removed
    fill(8);
    log.write("     message", "     detail");
    EXPECT_EQ(list.count(), 22);

    log.TRIM_STATUS_LIST(100);  // beyond the range: empties the list
    EXPECT_EQ(list.count(), 0);
    fill(21);
    log.TRIM_STATUS_LIST(4);
    EXPECT_EQ(list.count(), 18);  // three removed, not four
    EXPECT_EQ(list.item(17), "old 17");
    log.TRIM_STATUS_LIST(0);
    EXPECT_EQ(list.count(), 18);
}

}  // namespace
