#include "gui/software/SoftwarePainter.h"

namespace software {

Painter::Painter(platform::Window* window)
    : window(window), context(platform::windowContext(window)) {
    if (context != nullptr) {
        platform::setBackgroundMode(context, platform::BackgroundMode::Transparent);
    }
}

Painter::~Painter() {
    if (context != nullptr) {
        platform::releaseWindowContext(window, context);
    }
}

void Painter::fill(const Rect& rect, platform::ColorValue color) {
    if (context == nullptr) {
        return;
    }
    platform::GraphicsObject* brush = platform::createSolidBrush(color);
    platform::fillRectangle(context, rect, brush);
    platform::deleteObject(brush);
}

void Painter::line(Point from, Point to, platform::ColorValue color) {
    if (context == nullptr) {
        return;
    }
    platform::GraphicsObject* pen = platform::createPen(platform::PenStyle::Solid, 1, color);
    platform::GraphicsObject* previous = platform::selectObject(context, pen);
    platform::moveTo(context, from);
    platform::lineTo(context, to);
    platform::selectObject(context, previous);
    platform::deleteObject(pen);
}

void Painter::text(const char* text, std::int32_t length, const Rect& rect,
                   platform::TextAlignment alignment, platform::ColorValue color,
                   platform::GraphicsObject* font) {
    if (context == nullptr || text == nullptr) {
        return;
    }
    platform::GraphicsObject* previous =
        font != nullptr ? platform::selectObject(context, font) : nullptr;
    platform::setTextColor(context, color);
    platform::drawText(context, text, length, rect, alignment);
    if (previous != nullptr) {
        platform::selectObject(context, previous);
    }
}

} // namespace software
