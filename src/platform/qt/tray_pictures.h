#pragma once

#include <QIcon>
#include <string>

namespace platform::qt {

// The picture of that name as an icon, drawn afresh at each size a tray asks
// for most, so that it stays sharp from 16 to 64 pixels. A null icon when
// there is no such picture.
QIcon tray_picture(const std::string& name);

// The same picture on a bright yellow glow inside an orange ring: the
// variant that alternates with the plain one while the icon calls for the
// user's attention.
QIcon highlighted_tray_picture(const std::string& name);

}  // namespace platform::qt
