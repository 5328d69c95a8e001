// An image from the module's bitmap resources, shared by reference counting: every holder
// calls remember when it takes a reference and forget when it drops it.
#pragma once

#include "gui/Geometry.h"

#include <cstdint>

namespace platform {
struct GraphicsObject;
}

class DrawContext;

class Bitmap {
public:
    // A failed load leaves an empty bitmap of size 0 x 0 that draws nothing.
    explicit Bitmap(std::int32_t resourceId);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    std::int32_t getResourceId() const { return resourceId; }
    std::int32_t getReferenceCount() const { return referenceCount; }

    void remember();
    // Destroys the bitmap when the last reference goes.
    void forget();

    // Copies rect's size from the image at offset to rect's top-left, unchanged.
    void draw(DrawContext* context, const Rect& rect, const Point& offset = Point());
    // Like draw, but pixels of exactly ColorTransparent leave the context's pixels as they are.
    void drawTransparent(DrawContext* context, const Rect& rect, const Point& offset = Point());

private:
    ~Bitmap();
    bool makeMask(DrawContext* context);

    std::int32_t resourceId;
    platform::GraphicsObject* handle = nullptr;
    platform::GraphicsObject* mask = nullptr; // made on first transparent draw
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t referenceCount = 1;
};
