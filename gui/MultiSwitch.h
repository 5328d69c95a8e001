// The base of the multi-position switches: a strip of N images of H pixels shown by value, and
// M positions the pointer chooses from while the button is held. The default value is 0.
#pragma once

#include "gui/Control.h"

class Bitmap;

class MultiSwitch : public Control {
public:
    MultiSwitch(const Rect& size, ControlListener* listener, std::int32_t tag,
                std::int32_t imageCount, std::int32_t imageHeight, std::int32_t positionCount,
                Bitmap* bitmap, const Point& offset = Point());
    ~MultiSwitch() override;

    // Image i for values from i / (N - 1) up to the next image's; the stored offset is unused.
    void draw(DrawContext* context) override;
    // Alt-click, or tracking until the buttons and modifiers are released.
    void mouse(DrawContext* context, Point& where) override;

    // The value for a pointer at point (window coordinates).
    virtual float pointToValue(const Point& point) const = 0;

protected:
    // Position (i - 1) / (M - 1) for the first i in 1 .. M-1 whose zone end, trunc(i x extent
    // / M), lies beyond coordinate (or on it, with endInclusive); 1 when none does.
    float positionValue(std::int32_t coordinate, double extent, bool endInclusive) const;

    Bitmap* bitmap;
    Point offset;
    std::int32_t imageCount;
    std::int32_t imageHeight;
    std::int32_t positionCount;
};
