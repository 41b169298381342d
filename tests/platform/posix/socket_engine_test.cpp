#include "platform/posix/socket_engine.h"

#include <gtest/gtest.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "support/engine_loop.h"

namespace {

using platform::posix::Descriptor;
using platform::posix::SocketEngine;
using Calls = std::vector<std::string>;

// A ready descriptor that stays ready: an event counter never read.
struct ReadyCounter : platform::posix::Watcher {
    explicit ReadyCounter(std::function<void()> on_ready) : on_ready_(std::move(on_ready)) {
        const std::uint64_t one = 1;
        if (::write(fd.get(), &one, sizeof one) < 0) {
            ADD_FAILURE() << "cannot signal the counter";
        }
    }
    void ready(std::uint32_t) override { on_ready_(); }

    Descriptor fd{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
    std::function<void()> on_ready_;
};

TEST(SocketEngineTest, PostedAndDelayedCallsRunLaterInOrderAndCancelledOnesNever) {
    SocketEngine engine;
    Calls calls;
    engine.post([&] {
        calls.push_back("first");
        engine.post([&] { calls.push_back("posted meanwhile"); });
    });
    engine.post([&] { calls.push_back("second"); });
    const auto cancelled =
        engine.after(std::chrono::milliseconds(10), [&] { calls.push_back("x"); });
    engine.after(std::chrono::milliseconds(20), [&] { calls.push_back("due"); });
    engine.cancel(cancelled);
    EXPECT_TRUE(calls.empty()) << "nothing runs from inside post";

    // What a posted call posts runs after it, in a later round of the pass.
    engine.dispatch();
    EXPECT_EQ(calls, (Calls{"first", "second", "posted meanwhile"}));
    ASSERT_TRUE(test_support::run_until(engine, [&] { return calls.size() == 4; }));
    EXPECT_EQ(calls, (Calls{"first", "second", "posted meanwhile", "due"}));
}

TEST(SocketEngineTest, AWatcherUnwatchedInTheSameBatchHearsNothingAndThrowsStayInside) {
    SocketEngine engine;
    Calls calls;
    auto second = std::make_unique<ReadyCounter>([&] { calls.push_back("second"); });
    SocketEngine::Token second_token = 0;
    ReadyCounter first([&] {
        calls.push_back("first");
        // As a socket that a handler destroys: unwatched, then gone, while
        // its own event is already fetched in this batch.
        engine.unwatch(second_token);
        second.reset();
        engine.unwatch(1000);  // an unknown token is no fault
        throw platform::Failure("a handler's fault");
    });
    const auto token = engine.watch(first.fd.get(), EPOLLIN, first);
    second_token = engine.watch(second->fd.get(), EPOLLIN, *second);

    EXPECT_NO_THROW(engine.dispatch());
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "second"), 0);

    engine.change(token, 0);
    calls.clear();
    engine.dispatch();
    EXPECT_TRUE(calls.empty()) << "not watched for reading any more";
}

}  // namespace
