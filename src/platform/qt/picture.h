#pragma once

#include <QPixmap>
#include <QSize>
#include <string>

namespace platform::qt {

// The picture of that name (the resource ":/pictures/<name>.svg") drawn to
// fit `size` device-independent pixels, sharp on screens of the given pixel
// ratio. A null pixmap when there is no such picture.
QPixmap render_picture(const std::string& name, QSize size, qreal pixel_ratio);

}  // namespace platform::qt
