// A passive display showing one of N frames of H pixels, the frame nearest to the value.
#pragma once

#include "gui/Control.h"

class Bitmap;

class StripDisplay : public Control {
public:
    StripDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                 std::int32_t frameCount, std::int32_t frameHeight, Bitmap* bitmap,
                 const Point& offset = Point());
    ~StripDisplay() override;

    // Stores values above 1 back as 1.
    void draw(DrawContext* context) override;

private:
    Bitmap* bitmap;
    Point offset;
    std::int32_t frameCount;
    std::int32_t frameHeight;
};
