// A slider whose handle moves left and right; build it with exactly one of SliderOriginLeft and
// SliderOriginRight.
#pragma once

#include "gui/Slider.h"

class HorizontalSlider : public Slider {
public:
    HorizontalSlider(const Rect& size, ControlListener* listener, std::int32_t tag,
                     std::int32_t firstPosition, std::int32_t lastPosition, Bitmap* handle,
                     Bitmap* background, const Point& backgroundOffset = Point(),
                     std::int32_t style = SliderOriginLeft);
};
