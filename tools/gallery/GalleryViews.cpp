#include "tools/gallery/GalleryViews.h"

#include "gui/DrawContext.h"

namespace gallery {

namespace {
constexpr std::int32_t titleHeight = 22;
}

void Fill::draw(DrawContext* context) {
    context->setFillColor(color);
    // fillRect leaves the left and top edges to the outline; this area has none.
    context->fillRect(Rect(size.left - 1, size.top - 1, size.right, size.bottom));
}

void Panel::draw(DrawContext* context) {
    context->setFillColor(face);
    context->fillRect(Rect(size.left - 1, size.top - 1, size.right, size.bottom));
    context->setFrameColor(highlight);
    context->moveTo(Point(size.left, size.bottom - 1));
    context->lineTo(Point(size.left, size.top));
    context->lineTo(Point(size.right, size.top));
    context->setFrameColor(shadow);
    context->moveTo(Point(size.right - 1, size.top + 1));
    context->lineTo(Point(size.right - 1, size.bottom - 1));
    context->lineTo(Point(size.left, size.bottom - 1));
    context->setFont(FontSystemBold);
    context->setFontColor(title);
    const Rect titleRect(size.left + 10, size.top + 2, size.right - 10, size.top + titleHeight);
    context->drawString(text.c_str(), titleRect, false, 0);
    context->setFrameColor(accent);
    context->moveTo(Point(size.left + 11, size.top + titleHeight));
    context->lineTo(Point(size.left + 35, size.top + titleHeight));
}

void Caption::draw(DrawContext* context) {
    context->setFont(font);
    context->setFontColor(color);
    context->drawString(text.c_str(), size, false, alignment);
}

} // namespace gallery
