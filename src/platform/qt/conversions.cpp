#include "platform/qt/conversions.h"

namespace platform::qt {

QRect to_qrect(const platform::Geometry& geometry) {
    return {to_pixels(geometry.left), to_pixels(geometry.top), to_pixels(geometry.width),
            to_pixels(geometry.height)};
}

QColor to_qcolor(platform::Color color) {
    return {color.red(), color.green(), color.blue()};
}

QFont to_qfont(const platform::Font& font, const QFont& base) {
    QFont result = base;
    if (!font.family.empty()) {
        result.setFamilies({to_qstring(font.family)});
    }
    if (font.points > 0.0) {
        result.setPointSizeF(font.points);
    }
    result.setBold(font.bold);
    return result;
}

}  // namespace platform::qt
