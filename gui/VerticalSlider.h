// A slider whose handle moves up and down; build it with exactly one of SliderOriginTop and
// SliderOriginBottom.
#pragma once

#include "gui/Slider.h"

class VerticalSlider : public Slider {
public:
    VerticalSlider(const Rect& size, ControlListener* listener, std::int32_t tag,
                   std::int32_t firstPosition, std::int32_t lastPosition, Bitmap* handle,
                   Bitmap* background, const Point& backgroundOffset = Point(),
                   std::int32_t style = SliderOriginBottom);
};
