#include "platform/qt/qt_shell.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/failure.h"
#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace {

TEST(QtShellTest, HandsTheAddressToXdgOpenWithoutWaitingAndFailsWithoutIt) {
    test_support::TempFolder folder;
    const auto opened = folder.path() / "opened";
    test_support::write_file(
        folder.path() / "xdg-open",
        "#!/bin/sh\n/bin/sleep 0.3; printf '%s' \"$1\" > '" + opened.string() + "'\n");
    std::filesystem::permissions(folder.path() / "xdg-open", std::filesystem::perms::owner_all);
    const test_support::ScopedVariable path("PATH", folder.path().string());

    platform::qt::QtShell().open_address("https://orvanta.example.org/");
    EXPECT_FALSE(std::filesystem::exists(opened)) << "returned before the opener ended";
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(opened); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return test_support::read_file(opened) == "https://orvanta.example.org/"; }, 2000));

    std::filesystem::remove(folder.path() / "xdg-open");
    EXPECT_THROW(platform::qt::QtShell().open_address("https://orvanta.example.org/"),
                 platform::Failure);
}

}  // namespace
