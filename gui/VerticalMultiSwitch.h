// A multi-position switch chosen by the pointer's height: M zones over one image's height.
#pragma once

#include "gui/MultiSwitch.h"

class VerticalMultiSwitch : public MultiSwitch {
public:
    VerticalMultiSwitch(const Rect& size, ControlListener* listener, std::int32_t tag,
                        std::int32_t imageCount, std::int32_t imageHeight,
                        std::int32_t positionCount, Bitmap* bitmap, const Point& offset = Point());

    // A zone's lower end belongs to the next zone.
    float pointToValue(const Point& point) const override;
};
