#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>

#include "platform/forms/appearance.h"

namespace platform::qt {

// The model measures in twips; the screen is taken to be 96 dots per inch,
// where 15 twips make a pixel.
inline constexpr int twips_per_pixel = 15;

constexpr int to_pixels(int twips) {
    return twips / twips_per_pixel;
}
QRect to_qrect(const platform::Geometry& geometry);

inline QString to_qstring(const std::string& text) {
    return QString::fromStdString(text);
}
QColor to_qcolor(platform::Color color);

// The font described, starting from `base` for whatever the model leaves
// open (an empty family, a size of 0). A family missing from this machine is
// left to fontconfig to substitute.
QFont to_qfont(const platform::Font& font, const QFont& base);

}  // namespace platform::qt
