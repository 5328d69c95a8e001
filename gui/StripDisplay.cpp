#include "gui/StripDisplay.h"

#include "gui/Bitmap.h"

StripDisplay::StripDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                           std::int32_t frameCount, std::int32_t frameHeight, Bitmap* bitmap,
                           const Point& offset)
    : Control(size, listener, tag), bitmap(bitmap), offset(offset), frameCount(frameCount),
      frameHeight(frameHeight) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

StripDisplay::~StripDisplay() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void StripDisplay::draw(DrawContext* context) {
    if (value > 1.0f) {
        value = 1.0f;
    }
    Point where = offset;
    if (value > 0.0f) {
        // Halves go up.
        where.v += static_cast<std::int32_t>(static_cast<float>(frameCount - 1) * value + 0.5f) *
                   frameHeight;
    }
    if (bitmap != nullptr) {
        bitmap->draw(context, size, where);
    }
    oldValue = value;
}
