// Orvanta: watches the satellite link, dials and hangs it up, and logs what
// happens in its main window.
#include <QApplication>
#include <QString>
#include <cstdio>
#include <exception>

#include "app/form1.h"
#include "platform/navsim/simulated_navigator.h"
#include "platform/qt/form_renderer.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_timer.h"

namespace {

int run(QApplication& application) {
    platform::qt::QtClock clock;
    platform::qt::QtTimerFactory timers;
    // Kept beside the program, so that each installation simulates its own link.
    const QString state_path = QCoreApplication::applicationDirPath() + "/navsim.state";
    platform::navsim::SimulatedNavigator navigator(state_path.toStdString(), clock, timers);

    app::Form1 form1(navigator, clock);
    platform::qt::FormRenderer main_window(form1.window());
    form1.window().set_visible(true);
    return application.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    try {
        return run(application);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta: cannot start: %s\n", error.what());
        return 1;
    }
}
