// The least a Qt Widgets program shaped like Orvanta does: one window of the
// main window's size and two timers, 250 ms and 5 s, that do almost nothing.
// The footprint figure sets Orvanta's idle CPU time and memory beside it.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("Minimal");
    window.setFixedSize(161, 275);
    QLabel label("0", &window);
    QVBoxLayout layout(&window);
    layout.addWidget(&label);

    int sweeps = 0;
    QTimer sweep;
    QObject::connect(&sweep, &QTimer::timeout, [&sweeps] { ++sweeps; });
    sweep.start(250);
    int polls = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&polls, &label] { label.setText(QString::number(++polls)); });
    poll.start(5000);

    window.show();
    // Once the event loop runs, the start-up is over.
    QTimer::singleShot(0, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return application.exec();
}
