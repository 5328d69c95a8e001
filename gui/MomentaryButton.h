// A button that is 1 while pressed with the pointer over it and always reports 0 on release.
// Its bitmap holds two frames of H pixels: up above, pressed below.
#pragma once

#include "gui/Control.h"

class Bitmap;

class MomentaryButton : public Control {
public:
    MomentaryButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                    std::int32_t frameHeight, Bitmap* bitmap, const Point& offset = Point());
    ~MomentaryButton() override;

    // Clamps the stored value to 0..1.
    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

private:
    Bitmap* bitmap;
    Point offset;
    std::int32_t frameHeight;
};
