// A picture from a strip of N frames of H pixels, shown only while open; the value is the
// pixel offset into the strip. A click opens it (and tells the listener) or closes it.
#pragma once

#include "gui/Control.h"

class Bitmap;

class FrameAnimation : public Control {
public:
    FrameAnimation(const Rect& size, ControlListener* listener, std::int32_t tag,
                   std::int32_t frameCount, std::int32_t frameHeight, Bitmap* bitmap,
                   const Point& offset = Point());
    ~FrameAnimation() override;

    // Nothing while closed.
    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;

    virtual void openWindow() { open = true; }
    virtual void closeWindow() { open = false; }
    // The start of the next frame, from the last back to the first.
    virtual void nextPixmap();
    // The start of the previous frame, from the first round to the last.
    virtual void previousPixmap();

    bool isOpen() const { return open; }

private:
    void stepFrames(std::int32_t step);

    Bitmap* bitmap;
    Point offset;
    std::int32_t frameCount;
    std::int32_t frameHeight;
    bool open = false;
    std::int32_t stripHeight;
};
