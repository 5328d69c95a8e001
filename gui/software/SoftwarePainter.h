// Drawing on a window that the software backend runs itself, through the backend's own
// primitives and fonts, for one pass. Not for the toolkit.
#pragma once

#include "gui/software/SoftwareObjects.h"

namespace software {

class Painter {
public:
    explicit Painter(platform::Window* window);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Right and bottom edges left out.
    void fill(const Rect& rect, platform::ColorValue color);
    // The end pixel left out.
    void line(Point from, Point to, platform::ColorValue color);
    // One line, vertically centred in rect and clipped to it; null font: the stock font.
    void text(const char* text, std::int32_t length, const Rect& rect,
              platform::TextAlignment alignment, platform::ColorValue color,
              platform::GraphicsObject* font);

private:
    platform::Window* window;
    platform::DeviceContext* context;
};

// An opaque colour from its parts.
constexpr platform::ColorValue rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | green << 8 | blue << 16;
}

} // namespace software
