#pragma once

#include <QWidget>

namespace platform::qt {

// Qt never leaves a window's title empty: it puts the program's name in the
// place of an empty one, which desktops then show in task lists and window
// switchers. A window without caption text (the splash screen) must have
// none, so where the desktop is X11 the name is cleared on the window itself.
// Elsewhere, or on a window whose native window is not made yet, nothing
// happens.
void clear_native_title(QWidget& window);

}  // namespace platform::qt
