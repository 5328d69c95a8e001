// A multi-position switch chosen by the pointer's horizontal place: M zones over the bitmap's
// width.
#pragma once

#include "gui/MultiSwitch.h"

class HorizontalMultiSwitch : public MultiSwitch {
public:
    HorizontalMultiSwitch(const Rect& size, ControlListener* listener, std::int32_t tag,
                          std::int32_t imageCount, std::int32_t imageHeight,
                          std::int32_t positionCount, Bitmap* bitmap,
                          const Point& offset = Point());

    // A zone's right end still belongs to it.
    float pointToValue(const Point& point) const override;
};
