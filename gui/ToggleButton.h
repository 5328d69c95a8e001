// A button that a click turns on or off. Its bitmap holds both states stacked: off in the upper
// half, on in the lower half.
#pragma once

#include "gui/Control.h"

class Bitmap;

class ToggleButton : public Control {
public:
    ToggleButton(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* bitmap);
    ~ToggleButton() override;

    void draw(DrawContext* context) override;
    // No tracking: the value turns at the press.
    void mouse(DrawContext* context, Point& where) override;

private:
    Bitmap* bitmap;
};
