#include "platform/qt/tray_pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <algorithm>
#include <array>

#include "platform/qt/picture.h"

namespace platform::qt {

namespace {

// Panels of common desktops use 16 to 24 pixels; docks and high-density
// screens the larger ones.
constexpr std::array icon_sizes{16, 22, 24, 32, 48, 64};

QPixmap highlighted(const std::string& name, int size) {
    // The ring takes a twelfth of the size each side, the picture the rest,
    // so that the ring never covers what the picture says.
    const qreal ring = std::max(1.25, size / 12.0);
    const int inset = static_cast<int>(ring + 0.5);
    const QPixmap picture = render_picture(name, QSize(size - 2 * inset, size - 2 * inset), 1.0);
    if (picture.isNull()) {
        return {};
    }
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF disc(ring / 2, ring / 2, size - ring, size - ring);
    QRadialGradient glow(disc.center(), disc.width() / 2);
    glow.setColorAt(0.0, QColor(255, 250, 170));
    glow.setColorAt(0.6, QColor(255, 226, 40));
    glow.setColorAt(1.0, QColor(255, 170, 0));
    painter.setBrush(glow);
    painter.setPen(QPen(QColor(255, 110, 0), ring));
    painter.drawEllipse(disc);

    painter.drawPixmap(inset, inset, picture);
    return pixmap;
}

}  // namespace

QIcon tray_picture(const std::string& name) {
    QIcon icon;
    for (const int size : icon_sizes) {
        const QPixmap pixmap = render_picture(name, QSize(size, size), 1.0);
        if (pixmap.isNull()) {
            return {};
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon highlighted_tray_picture(const std::string& name) {
    QIcon icon;
    for (const int size : icon_sizes) {
        const QPixmap pixmap = highlighted(name, size);
        if (pixmap.isNull()) {
            return {};
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace platform::qt
