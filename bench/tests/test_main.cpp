// The benchmark's own tests: the parts whose faults would make a figure lie.
#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>
#include <cstdlib>

int main(int argc, char* argv[]) {
    std::signal(SIGPIPE, SIG_IGN);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
