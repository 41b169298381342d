#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/failure.h"
#include "platform/forms.h"

namespace {

class FormTest : public ::testing::Test {
  protected:
    FormTest() { form.set_visible(true); }

    platform::Form form{"Form1"};
    platform::CommandButton first{form, "FIRST"};
    platform::ListBox list{form, "LIST"};
    platform::Label label{form, "LABEL"};
};

TEST_F(FormTest, FocusIsRefusedWhereTheWindowSystemWouldRefuseIt) {
    EXPECT_THROW(label.set_focus(), platform::Failure);  // labels never take it

    list.set_visible(false);
    EXPECT_THROW(list.set_focus(), platform::Failure);
    list.set_visible(true);

    list.set_enabled(false);
    EXPECT_THROW(list.set_focus(), platform::Failure);
    list.set_enabled(true);

    form.set_visible(false);
    EXPECT_THROW(first.set_focus(), platform::Failure);
    EXPECT_EQ(form.focused(), nullptr);

    form.set_visible(true);
    first.set_focus();
    EXPECT_TRUE(first.has_focus());
}

TEST_F(FormTest, GotFocusRunsOnceForEachArrivalFromCodeOrUserAndMayPassTheFocusOn) {
    int arrivals = 0;
    list.on_got_focus([&] { ++arrivals; });
    list.set_focus();
    list.set_focus();  // already there: no second arrival
    EXPECT_EQ(arrivals, 1);

    form.focus_received(first);
    form.focus_received(list);
    form.focus_received(list);
    EXPECT_EQ(arrivals, 2);

    form.focus_received(first);
    list.on_got_focus([&] { first.set_focus(); });
    std::vector<platform::Control*> seen;
    auto subscription = form.subscribe([&](const platform::ChangeEvent& event) {
        if (event.what == platform::Change::Focus) {
            seen.push_back(form.focused());
        }
    });
    form.focus_received(list);
    EXPECT_TRUE(first.has_focus());
    EXPECT_EQ(seen, (std::vector<platform::Control*>{&list, &first}));
}

TEST_F(FormTest, ListIndicesOutsideTheListFail) {
    EXPECT_THROW(list.insert(1, "x"), platform::Failure);
    EXPECT_THROW(list.insert(-1, "x"), platform::Failure);
    EXPECT_THROW(list.remove(0), platform::Failure);
    EXPECT_THROW(static_cast<void>(list.item(0)), platform::Failure);

    list.insert(0, "a");
    list.insert(1, "c");  // the end is inside for an insertion
    EXPECT_THROW(list.remove(2), platform::Failure);
}

TEST(NotifierTest, SubscriptionsEndSafelyInEitherOrderAndWhileBeingTold) {
    int calls = 0;
    auto notifier = std::make_unique<platform::Notifier>();
    platform::Subscription kept =
        notifier->subscribe([&](const platform::ChangeEvent&) { ++calls; });
    {
        platform::Subscription dropped =
            notifier->subscribe([&](const platform::ChangeEvent&) { calls += 100; });
    }
    platform::Subscription self;
    self = notifier->subscribe([&](const platform::ChangeEvent&) {
        calls += 10;
        self = platform::Subscription();
    });
    notifier->notify({platform::Change::Caption});
    notifier->notify({platform::Change::Caption});
    EXPECT_EQ(calls, 12);

    notifier.reset();  // the subscription outlives its notifier
    kept = platform::Subscription();
}

}  // namespace
