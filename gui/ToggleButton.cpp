#include "gui/ToggleButton.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

ToggleButton::ToggleButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                           Bitmap* bitmap)
    : Control(size, listener, tag), bitmap(bitmap) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

ToggleButton::~ToggleButton() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void ToggleButton::draw(DrawContext* context) {
    if (bitmap != nullptr) {
        bitmap->draw(context, size, Point(0, value != 0.0f ? bitmap->getHeight() / 2 : 0));
    }
    oldValue = value;
}

void ToggleButton::mouse(DrawContext* context, Point& where) {
    (void)where;
    if (!mouseEnabled) {
        return;
    }
    // Truncation, so that 0.5 counts as off.
    value = truncated(value) == 0 ? 1.0f : 0.0f;
    draw(context);
    notify(context);
}
