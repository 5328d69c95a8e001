#include "gui/StripKnob.h"

#include "gui/Bitmap.h"

StripKnob::StripKnob(const Rect& size, ControlListener* listener, std::int32_t tag,
                     std::int32_t frameCount, std::int32_t frameHeight, Bitmap* strip,
                     const Point& offset)
    : Knob(size, listener, tag, nullptr, strip, offset), frameCount(frameCount),
      frameHeight(frameHeight) {
    inset = 0;
}

std::int32_t StripKnob::frameOffset() const {
    if (!(value > 0.0f) || frameHeight <= 0) {
        return 0;
    }
    const std::int32_t last = (frameCount - 1) * frameHeight;
    // Values above 1 stay on the last frame rather than reading past the strip.
    const float clamped = value > 1.0f ? 1.0f : value;
    const std::int32_t exact = static_cast<std::int32_t>(static_cast<float>(last) * clamped);
    return exact / frameHeight * frameHeight;
}

void StripKnob::draw(DrawContext* context) {
    if (handle != nullptr) {
        handle->draw(context, size, Point(0, frameOffset()));
    }
    oldValue = value;
}
