#include "gui/MomentaryButton.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

MomentaryButton::MomentaryButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                                 std::int32_t frameHeight, Bitmap* bitmap, const Point& offset)
    : Control(size, listener, tag), bitmap(bitmap), offset(offset), frameHeight(frameHeight) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

MomentaryButton::~MomentaryButton() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void MomentaryButton::draw(DrawContext* context) {
    if (value > 1.0f) {
        value = 1.0f;
    } else if (!(value >= 0.0f)) {
        value = 0.0f; // NaN as well
    }
    Point where = offset;
    if (value != 0.0f) {
        where.v += frameHeight;
    }
    if (bitmap != nullptr) {
        bitmap->draw(context, size, where);
    }
    oldValue = value;
}

void MomentaryButton::mouse(DrawContext* context, Point& where) {
    if (!mouseEnabled) {
        return;
    }
    const float atPress = value;
    const float pressed = atPress == 0.0f ? 1.0f : 0.0f;
    if (context->getMouseButtons() != 0) {
        trackMouse(context, where, [this, atPress, pressed](const Point& point) {
            return size.pointInside(point) ? pressed : atPress;
        });
    } else {
        value = pressed;
        notify(context);
    }
    value = 0.0f;
    notify(context);
}
