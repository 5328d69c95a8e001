// A spring rocker: -1 while its left half is held, 1 while its right half is held, 0 again at
// the release. Its bitmap holds three images of H pixels: -1, 0, 1.
#pragma once

#include "gui/Control.h"

class Bitmap;

class RockerButton : public Control {
public:
    RockerButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                 std::int32_t imageHeight, Bitmap* bitmap, const Point& offset = Point());
    ~RockerButton() override;

    void draw(DrawContext* context) override;
    // Always ends by reporting 0.
    void mouse(DrawContext* context, Point& where) override;

private:
    // -1 over the left half (the middle column included), 1 over the right half, otherwise
    // the given value.
    float sideValue(const Point& point, float elsewhere) const;

    Bitmap* bitmap;
    Point offset;
    std::int32_t imageHeight;
};
