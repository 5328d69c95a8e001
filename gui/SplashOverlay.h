// A picture that a click shows as the frame's modal view, over the display rectangle, and the
// next click anywhere on it hides again.
#pragma once

#include "gui/Control.h"

class Bitmap;

class SplashOverlay : public Control {
public:
    SplashOverlay(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* bitmap,
                  const Rect& displayRect, const Point& offset = Point());
    ~SplashOverlay() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

private:
    Rect displayRect;
    Rect savedSize;
    Bitmap* bitmap;
    Point offset;
};
