#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Position and size within the form's client area, in twips (1/1440 inch;
// 15 twips make one pixel at 96 dots per inch).
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Geometry&, const Geometry&) = default;
};

// A colour as the window system's colour value: red + 256 * green + 65536 * blue.
struct Color {
    std::uint32_t value = 0;

    static constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return Color{static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8U) |
                     (static_cast<std::uint32_t>(b) << 16U)};
    }
    constexpr int red() const { return static_cast<int>(value & 0xFFU); }
    constexpr int green() const { return static_cast<int>((value >> 8U) & 0xFFU); }
    constexpr int blue() const { return static_cast<int>((value >> 16U) & 0xFFU); }

    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color black = Color::rgb(0, 0, 0);
inline constexpr Color white = Color::rgb(255, 255, 255);
inline constexpr Color yellow = Color::rgb(255, 255, 0);
inline constexpr Color red = Color::rgb(255, 0, 0);
inline constexpr Color green = Color::rgb(0, 255, 0);
inline constexpr Color button_face = Color::rgb(212, 208, 200);
inline constexpr Color button_text = Color::rgb(0, 0, 0);
}  // namespace colors

// The mouse pointer over a control: the usual arrow, or the hand that marks
// a link.
enum class Pointer { Arrow, Hand };

// A font by family name and size in points. An empty family means the
// platform's default font.
struct Font {
    std::string family;
    double points = 0.0;
    bool bold = false;

    friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace platform
