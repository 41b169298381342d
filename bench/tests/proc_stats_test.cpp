#include "proc_stats.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

#include "fd.h"

namespace bench {
namespace {

TEST(ParseCpuTicksTest, AddsUserAndSystemTime) {
    EXPECT_EQ(parse_cpu_ticks("4242 (orvanta) S 1 4242 4242 0 -1 4194560 9000 0 0 0 "
                              "123 45 0 0 20 0 3 0 100 0 0"),
              168u);
}

TEST(ParseCpuTicksTest, ANameWithBlanksAndParenthesesDoesNotShiftTheFields) {
    EXPECT_EQ(parse_cpu_ticks("77 (a b) (c)) R 1 77 77 0 -1 0 0 0 0 0 10 5 0 0 20 0 1 0 5"), 15u);
}

TEST(ParseCpuTicksTest, RefusesATruncatedLine) {
    EXPECT_THROW(parse_cpu_ticks("77 (x) R 1 77 77 0"), std::runtime_error);
    EXPECT_THROW(parse_cpu_ticks("no name here"), std::runtime_error);
}

TEST(ParseStatusTest, FindsTheKeyAndNotItsLongerNamesakes) {
    const std::string status =
        "Name:\torvanta\nVmHWMX:\t  1 kB\nVmHWM:\t   81234 kB\nVmRSS:\t   80000 kB\n";
    EXPECT_EQ(parse_status_kib(status, "VmHWM"), 81234);
    EXPECT_EQ(parse_status_kib(status, "VmRSS"), 80000);
    EXPECT_THROW(parse_status_kib(status, "VmSwap"), std::runtime_error);
    EXPECT_THROW(parse_status_kib("VmRSS:\t12 MB\n", "VmRSS"), std::runtime_error);
}

TEST(ProcStatsTest, SeesThisProcessOpenADescriptorAndSpendTime) {
    const pid_t self = ::getpid();
    const int before = open_descriptors(self);
    {
        const Fd file(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        EXPECT_EQ(open_descriptors(self), before + 1);
    }
    EXPECT_EQ(open_descriptors(self), before);
    EXPECT_GT(status_kib(self, "VmRSS"), 0);
    EXPECT_GE(status_kib(self, "VmHWM"), status_kib(self, "VmRSS"));
    const double start = cpu_milliseconds(self);
    // Reading /proc is work enough to spend the time on.
    while (cpu_milliseconds(self) < start + 30) {
    }
    EXPECT_GE(cpu_milliseconds(self) - start, 30);
}

TEST(ProcStatsTest, ThreadTimeAgreesWithTheTickCount) {
    const pid_t self = ::getpid();
    // Each reading of the ticks between two exact ones: reading /proc takes
    // time of its own, which the exact count sees.
    const ThreadTimes exact_before_start = thread_cpu_milliseconds(self);
    const double ticks_start = cpu_milliseconds(self);
    const ThreadTimes exact_after_start = thread_cpu_milliseconds(self);
    while (cpu_milliseconds_between(exact_after_start, thread_cpu_milliseconds(self)) < 50) {
    }
    const ThreadTimes exact_before_end = thread_cpu_milliseconds(self);
    const double ticks = cpu_milliseconds(self) - ticks_start;
    const ThreadTimes exact_after_end = thread_cpu_milliseconds(self);
    // User and system time are each counted in whole ticks of 10 ms, cut
    // off at both readings: their sum may part from the time it spans by
    // less than two ticks either way.
    EXPECT_GT(ticks, cpu_milliseconds_between(exact_after_start, exact_before_end) - 20.0);
    EXPECT_LT(ticks, cpu_milliseconds_between(exact_before_start, exact_after_end) + 20.0);
}

TEST(ProcStatsTest, AThreadThatEndsBetweenTwoReadingsTakesNothingAway) {
    const pid_t self = ::getpid();
    std::promise<void> spun;
    std::promise<void> end;
    std::thread busy([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
        while (std::chrono::steady_clock::now() < until) {
        }
        spun.set_value();
        end.get_future().wait();
    });
    spun.get_future().wait();
    const ThreadTimes before = thread_cpu_milliseconds(self);
    end.set_value();
    busy.join();
    const double spent = cpu_milliseconds_between(before, thread_cpu_milliseconds(self));
    EXPECT_GE(spent, 0) << "the ended thread's time was taken away";
    EXPECT_LT(spent, 10);
}

}  // namespace
}  // namespace bench
