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
    value = clamped(value, 0.0f, 1.0f);
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
    trackPush(context, where);
    value = 0.0f;
    notify(context);
}
