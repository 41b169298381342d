#include "platform/qt/qt_timer.h"

#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "platform/failure.h"

namespace {

using platform::qt::QtTimer;

constexpr int patience_ms = 2000;

TEST(QtTimerTest, TicksOnlyWhileEnabledWithAnInterval) {
    QtTimer timer;
    int ticks = 0;
    timer.on_tick([&] { ++ticks; });

    timer.set_enabled(true);
    QTest::qWait(50);
    EXPECT_EQ(ticks, 0) << "an interval of 0 must not tick";

    timer.set_interval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, patience_ms));

    timer.set_enabled(false);
    const int stopped_at = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stopped_at);
}

TEST(QtTimerTest, HandlerMayDestroyItsOwnTimer) {
    platform::qt::QtTimerFactory factory;
    std::unique_ptr<platform::Timer> timer = factory.create_timer();
    int ticks = 0;
    timer->on_tick([&] {
        ++ticks;
        timer.reset();
    });
    timer->set_interval(5);
    timer->set_enabled(true);

    EXPECT_TRUE(QTest::qWaitFor([&] { return timer == nullptr; }, patience_ms));
    QTest::qWait(30);
    EXPECT_EQ(ticks, 1);
}

TEST(QtTimerTest, ThrowingHandlerIsReportedAndTicksGoOn) {
    QtTimer timer;
    int ticks = 0;
    timer.on_tick([&] {
        ++ticks;
        throw platform::Failure("poll failed");
    });
    timer.set_interval(5);
    timer.set_enabled(true);

    testing::internal::CaptureStderr();
    const bool ticked_again = QTest::qWaitFor([&] { return ticks >= 2; }, patience_ms);
    timer.set_enabled(false);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_TRUE(ticked_again);
    EXPECT_NE(errors.find("timer tick: poll failed\n"), std::string::npos) << errors;
}

}  // namespace
