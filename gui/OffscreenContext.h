// A drawing context over a memory bitmap, for composing a picture before one copy to a window.
#pragma once

#include "gui/DrawContext.h"

class OffscreenContext : public DrawContext {
public:
    // The bitmap is compatible with the frame's window and starts filled with background.
    OffscreenContext(Frame* frame, std::int32_t width, std::int32_t height,
                     const Color& background = ColorBlack);
    ~OffscreenContext() override;

    // Copies destinationRect's size from this context, starting at sourceOffset, to destination
    // at destinationRect's top-left.
    void copyFrom(DrawContext* destination, const Rect& destinationRect,
                  const Point& sourceOffset = Point());

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }

private:
    // The window-handle field of the base stays null: a memory context has no window.
    platform::GraphicsObject* bitmap = nullptr;
    platform::GraphicsObject* previousBitmap = nullptr;
    bool ownsBitmap = false;
    std::int32_t height;
    std::int32_t width;
    Color background;
};
