#include "gui/SplashOverlay.h"

#include "gui/Bitmap.h"
#include "gui/Frame.h"

SplashOverlay::SplashOverlay(const Rect& size, ControlListener* listener, std::int32_t tag,
                             Bitmap* bitmap, const Rect& displayRect, const Point& offset)
    : Control(size, listener, tag), displayRect(displayRect), bitmap(bitmap), offset(offset) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

SplashOverlay::~SplashOverlay() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void SplashOverlay::draw(DrawContext* context) {
    if (value != 0.0f && bitmap != nullptr) {
        bitmap->draw(context, displayRect, offset);
    }
}

void SplashOverlay::mouse(DrawContext* context, Point& where) {
    (void)where;
    if (!mouseEnabled) {
        return;
    }
    value = value == 0.0f ? 1.0f : 0.0f;
    if (value != 0.0f) {
        if (parent == nullptr || !parent->setModalView(this)) {
            // Another picture is up. Staying at 1 here would make the next click "close" a
            // picture that never opened, shrinking this control to the empty saved size.
            value = 0.0f;
            return;
        }
        savedSize = size;
        size = displayRect;
        draw(context);
        notify(context);
    } else {
        size = savedSize;
        if (parent != nullptr) {
            if (parent->getModalView() == this) {
                parent->setModalView(nullptr);
            }
            parent->draw(context);
        }
        notify(context);
    }
}
