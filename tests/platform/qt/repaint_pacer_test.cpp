#include "platform/qt/repaint_pacer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace {

using namespace std::chrono_literals;

constexpr auto interval = 300ms;

// A widget that counts how often it is drawn.
class CountingWidget : public QWidget {
  public:
    using QWidget::QWidget;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class RepaintPacerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(120, 80);
        child.setGeometry(10, 10, 50, 30);
        new platform::qt::RepaintPacer(window, interval);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(QTest::qWaitFor([&] { return child.paints > 0; }, 2000));
        // Let the first drawing's interval run out.
        QTest::qWait(static_cast<int>(interval.count()) + 50);
    }

    QWidget window;
    CountingWidget child{&window};
};

// Well within the interval: the drawing did not wait for it.
constexpr int soon_ms = 100;

TEST_F(RepaintPacerTest, FirstChangeIsDrawnAtOnceAndLaterOnesTogetherWhenTheIntervalEnds) {
    const int before = child.paints;
    child.update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return child.paints == before + 1; }, soon_ms))
        << "a change after a quiet spell is drawn at once";

    for (int i = 0; i < 5; ++i) {
        child.update();
        QApplication::processEvents();
    }
    QTest::qWait(soon_ms / 2);
    EXPECT_EQ(child.paints, before + 1) << "drawn again before the interval ended";

    ASSERT_TRUE(QTest::qWaitFor([&] { return child.paints > before + 1; }, 2000))
        << "the last change was never drawn";
    QTest::qWait(static_cast<int>(interval.count()) + 50);
    EXPECT_EQ(child.paints, before + 2) << "the held changes are drawn once, together";
}

}  // namespace
