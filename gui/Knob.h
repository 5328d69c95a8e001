// A rotary control turned by the pointer's direction from its centre: 3/4 of a turn, clockwise
// on screen, from the lower left (minimum) through the top to the lower right (maximum), with a
// dead zone in the gap underneath.
#pragma once

#include "gui/Control.h"

class Bitmap;

class Knob : public Control {
public:
    // The inset is half the handle's width with a handle, 5 pixels without.
    Knob(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
         Bitmap* handle, const Point& offset = Point());
    ~Knob() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

    // Where the handle's centre goes for the current value, relative to the control.
    virtual void valueToPoint(Point& point) const;
    // The value for a pointer at point (window coordinates).
    virtual float pointToValue(const Point& point) const;
    virtual void setBackgroundBitmap(Bitmap* bitmap);
    virtual Bitmap* getBackgroundBitmap() const { return background; }

    std::int32_t getInset() const { return inset; }

protected:
    std::int32_t inset;
    Bitmap* background;
    Bitmap* handle;
    Point offset;
};
