#include "platform/qt/picture.h"

#include <QPainter>
#include <QSvgRenderer>

#include "platform/qt/conversions.h"

namespace platform::qt {

QPixmap render_picture(const std::string& name, QSize size, qreal pixel_ratio) {
    if (name.empty() || size.isEmpty()) {
        return {};
    }
    QSvgRenderer renderer(":/pictures/" + to_qstring(name) + ".svg");
    if (!renderer.isValid()) {
        return {};
    }
    QPixmap pixmap(size * pixel_ratio);
    pixmap.setDevicePixelRatio(pixel_ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

}  // namespace platform::qt
