#include "gui/LatchButton.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

LatchButton::LatchButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                         std::int32_t imageHeight, Bitmap* bitmap, const Point& offset)
    : Control(size, listener, tag), bitmap(bitmap), offset(offset), imageHeight(imageHeight) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

LatchButton::~LatchButton() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void LatchButton::draw(DrawContext* context) {
    value = clamped(value, 0.0f, 1.0f);
    if (bitmap != nullptr) {
        bitmap->draw(context, size, Point(0, value != 0.0f ? imageHeight : 0));
    }
    lastState = value;
    oldValue = value;
}

void LatchButton::mouse(DrawContext* context, Point& where) {
    if (!mouseEnabled) {
        return;
    }
    trackPush(context, where);
    lastState = value;
}
