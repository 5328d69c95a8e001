#include "gui/VerticalMultiSwitch.h"

VerticalMultiSwitch::VerticalMultiSwitch(const Rect& size, ControlListener* listener,
                                         std::int32_t tag, std::int32_t imageCount,
                                         std::int32_t imageHeight, std::int32_t positionCount,
                                         Bitmap* bitmap, const Point& offset)
    : MultiSwitch(size, listener, tag, imageCount, imageHeight, positionCount, bitmap, offset) {}

float VerticalMultiSwitch::pointToValue(const Point& point) const {
    return positionValue(point.v - size.top, imageHeight, false);
}
