#include "platform/qt/qt_signal_closer.h"

#include <gtest/gtest.h>

#include <QTest>
#include <csignal>

namespace {

using platform::qt::QtSignalCloser;

TEST(QtSignalCloserTest, EachSignalRunsTheHandlerFromTheEventLoop) {
    int calls = 0;
    QtSignalCloser closer([&] { ++calls; });
    for (const int signal : QtSignalCloser::handled_signals) {
        const int before = calls;
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_EQ(calls, before) << "not inside the signal handler";
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == before + 1; }, 2000)) << signal;
    }
}

TEST(QtSignalCloserTest, SignalsDuringTheHandlerAreDropped) {
    int calls = 0;
    QtSignalCloser closer([&] {
        ++calls;
        std::raise(SIGTERM);
        QTest::qWait(50);  // as a fade-out does, while the program ends
    });
    std::raise(SIGINT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 2000));
    QTest::qWait(100);
    EXPECT_EQ(calls, 1);
}

}  // namespace
