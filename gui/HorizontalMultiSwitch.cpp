#include "gui/HorizontalMultiSwitch.h"

#include "gui/Bitmap.h"

HorizontalMultiSwitch::HorizontalMultiSwitch(const Rect& size, ControlListener* listener,
                                             std::int32_t tag, std::int32_t imageCount,
                                             std::int32_t imageHeight, std::int32_t positionCount,
                                             Bitmap* bitmap, const Point& offset)
    : MultiSwitch(size, listener, tag, imageCount, imageHeight, positionCount, bitmap, offset) {}

float HorizontalMultiSwitch::pointToValue(const Point& point) const {
    return positionValue(point.h - size.left, bitmap != nullptr ? bitmap->getWidth() : 0, true);
}
