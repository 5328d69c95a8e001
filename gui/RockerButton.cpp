#include "gui/RockerButton.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

RockerButton::RockerButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                           std::int32_t imageHeight, Bitmap* bitmap, const Point& offset)
    : Control(size, listener, tag), bitmap(bitmap), offset(offset), imageHeight(imageHeight) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

RockerButton::~RockerButton() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void RockerButton::draw(DrawContext* context) {
    Point where = offset;
    if (value == 1.0f) {
        where.v += 2 * imageHeight;
    } else if (value == 0.0f) {
        where.v += imageHeight;
    }
    if (bitmap != nullptr) {
        bitmap->draw(context, size, where);
    }
    oldValue = value;
}

float RockerButton::sideValue(const Point& point, float elsewhere) const {
    const std::int32_t middle = size.left + size.width() / 2;
    if (Rect(size.left, size.top, middle, size.bottom).pointInside(point)) {
        return -1.0f;
    }
    if (Rect(middle, size.top, size.right, size.bottom).pointInside(point)) {
        return 1.0f;
    }
    return elsewhere;
}

void RockerButton::mouse(DrawContext* context, Point& where) {
    if (!mouseEnabled) {
        return;
    }
    const float atPress = value;
    if (context->getMouseButtons() != 0) {
        trackMouse(context, where,
                   [this, atPress](const Point& point) { return sideValue(point, atPress); });
    } else {
        value = sideValue(where, atPress);
        notify(context);
    }
    value = 0.0f;
    notify(context);
}
