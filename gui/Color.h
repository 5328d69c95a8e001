// Colours and the named colours of the toolkit.
#pragma once

#include <cstdint>

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t unused = 0; // always 0, never interpreted

    // The platform colour value: red | green << 8 | blue << 16.
    std::uint32_t colorValue() const {
        return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue) << 16;
    }
    // Red, green and blue only.
    bool sameAs(const Color& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

// Key colour of transparent bitmap drawing; the same value as ColorWhite, but meant as the key.
constexpr Color ColorTransparent{255, 255, 255, 0};
constexpr Color ColorBlack{0, 0, 0, 0};
constexpr Color ColorWhite{255, 255, 255, 0};
constexpr Color ColorGrey{127, 127, 127, 0};
constexpr Color ColorRed{255, 0, 0, 0};
constexpr Color ColorGreen{0, 255, 0, 0};
constexpr Color ColorBlue{0, 0, 255, 0};
constexpr Color ColorYellow{255, 255, 0, 0};
constexpr Color ColorMagenta{255, 0, 255, 0};
constexpr Color ColorCyan{0, 255, 255, 0};
