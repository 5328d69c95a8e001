#include "gui/HorizontalSlider.h"

HorizontalSlider::HorizontalSlider(const Rect& size, ControlListener* listener, std::int32_t tag,
                                   std::int32_t firstPosition, std::int32_t lastPosition,
                                   Bitmap* handle, Bitmap* background,
                                   const Point& backgroundOffset, std::int32_t style)
    : Slider(size, listener, tag, Axis::Horizontal, firstPosition, lastPosition, handle, background,
             backgroundOffset, style) {}
