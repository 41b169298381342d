#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "drive.h"
#include "load_client.h"
#include "net.h"
#include "orvanta_under_test.h"
#include "program_folder.h"

namespace bench {

// One in-process Orvanta (two seconds of splash screen) for all the tests of
// a suite.
class InProcessOrvantaTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<ProgramFolder>("test");
        ports_ = folder_->ready_for_orvanta(longest_poll_seconds);
        orvanta_ = std::make_unique<OrvantaUnderTest>(folder_->path(), ports_.listen);
    }
    static void TearDownTestSuite() {
        orvanta_.reset();
        folder_.reset();
    }

    // Loads Orvanta and waits until it has processed what its clients saw taken.
    static Driven<LoadResult> load(int in_flight, int requests, const std::string& request) {
        return drive(
            *orvanta_,
            [&] {
                return run_load({ports_.listen, in_flight, requests, request});
            },
            [](const LoadResult& result) { return static_cast<std::uint64_t>(result.taken); });
    }

    static inline std::unique_ptr<ProgramFolder> folder_;
    static inline PortPair ports_{};
    static inline std::unique_ptr<OrvantaUnderTest> orvanta_;
};

}  // namespace bench
