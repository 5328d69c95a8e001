// A button that a click latches on and the next one off: like the momentary button while held,
// but the value it had at the release stays. Its bitmap holds two images of H pixels: off above,
// on below.
#pragma once

#include "gui/Control.h"

class Bitmap;

class LatchButton : public Control {
public:
    LatchButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                std::int32_t imageHeight, Bitmap* bitmap, const Point& offset = Point());
    ~LatchButton() override;

    // Clamps the stored value to 0..1. The images are read from the bitmap's top: the offset is
    // kept but not used.
    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

    // The value last drawn or left by a press.
    float getLastState() const { return lastState; }

private:
    Bitmap* bitmap;
    Point offset;
    std::int32_t imageHeight;
    float lastState = 0.0f;
};
