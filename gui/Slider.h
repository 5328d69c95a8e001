// The base of the sliders: a handle bitmap moved along one axis over a background, composed in
// an off-screen context and copied to the window in one piece. The handle is dragged where it
// is grabbed; Shift moves it at a tenth of the pointer's speed.
#pragma once

#include "gui/Control.h"

class Bitmap;

enum SliderStyle : std::int32_t {
    SliderOriginLeft = 8,    // horizontal: value 0 at the left (at the right otherwise)
    SliderOriginRight = 16,  // horizontal: tracking inverts the value
    SliderOriginTop = 32,    // vertical: value 0 at the top (at the bottom otherwise)
    SliderOriginBottom = 64, // vertical: tracking inverts the value
};

class Slider : public Control {
public:
    enum class Axis { Vertical, Horizontal };

    // firstPosition and lastPosition: the handle's top (vertical) or left (horizontal) edge at
    // either end, window coordinates.
    Slider(const Rect& size, ControlListener* listener, std::int32_t tag, Axis axis,
           std::int32_t firstPosition, std::int32_t lastPosition, Bitmap* handle,
           Bitmap* background, const Point& backgroundOffset, std::int32_t style);
    ~Slider() override;

    void draw(DrawContext* context) override;
    // Alt-click; otherwise a left press on the handle, with Shift or without, drags it.
    void mouse(DrawContext* context, Point& where) override;

    virtual void setTransparentHandle(bool transparent) { transparentHandle = transparent; }
    virtual void setHandleOffset(const Point& offset) { handleOffset = offset; }

    // Where the last draw put the handle's top (vertical) or left (horizontal) edge.
    std::int32_t getHandlePosition() const { return handlePosition; }

private:
    bool vertical() const { return axis == Axis::Vertical; }
    // The coordinate along the slider's axis.
    std::int32_t along(const Point& point) const { return vertical() ? point.v : point.h; }
    std::int32_t handleLength() const { return vertical() ? handleHeight : handleWidth; }
    bool handleHit(const Point& point) const;
    float pointToValue(const Point& point, std::int32_t grab) const;

    Axis axis;
    Bitmap* handle;
    Bitmap* background;
    std::int32_t handleWidth;
    std::int32_t handleHeight;
    Point backgroundOffset;
    Point handleOffset;
    std::int32_t firstPosition;
    std::int32_t lastPosition;
    std::int32_t style;
    std::int32_t handlePosition;
    bool transparentHandle = true;
    // Relative to the control, along the axis.
    std::int32_t lowestCoordinate;
    std::int32_t highestCoordinate;
    std::int32_t controlWidth;
    std::int32_t controlHeight;
};
