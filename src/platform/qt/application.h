#pragma once

#include <QApplication>
#include <memory>

namespace platform::qt {

// The program's QApplication, running on Qt's own event dispatcher for Unix
// rather than GLib's. GLib's loop is woken by a write to its eventfd for
// every event posted, even while it is awake; Qt's writes once until the loop
// has looked. A busy server posts several events per request, so this saves
// a few system calls on each.
//
// QT_NO_GLIB, which makes the choice, is set only while the application is
// made, so that programs started from ours do not inherit it; a value the
// user set is left alone.
std::unique_ptr<QApplication> make_application(int& argc, char** argv);

}  // namespace platform::qt
