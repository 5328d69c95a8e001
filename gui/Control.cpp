#include "gui/Control.h"

#include "gui/DrawContext.h"
#include "gui/EditorBase.h"
#include "gui/Frame.h"

namespace {
constexpr std::int32_t altClick = MouseLeft | KeyAlt;
}

Control::Control(const Rect& size, ControlListener* listener, std::int32_t tag)
    : View(size), listener(listener), tag(tag) {}

void Control::update(DrawContext* context) {
    if (value != oldValue) {
        draw(context);
    }
    oldValue = value;
}

void Control::doIdle() {
    if (parent != nullptr && parent->getEditor() != nullptr) {
        parent->getEditor()->idleThrottled();
    }
}

void Control::notify(DrawContext* context) {
    if (listener != nullptr) {
        listener->valueChanged(context, this);
    }
}

void Control::notifyIfChanged(DrawContext* context) {
    if (value != oldValue) {
        notify(context);
    }
}

bool Control::applyDefaultOnAltClick(DrawContext* context, std::int32_t state) {
    if (state != altClick) {
        return false;
    }
    value = defaultValue;
    notifyIfChanged(context);
    return true;
}

void Control::trackPush(DrawContext* context, Point& where) {
    const float atPress = value;
    const float pushed = atPress == 0.0f ? 1.0f : 0.0f;
    if (context->getMouseButtons() != 0) {
        trackMouse(context, where, [this, atPress, pushed](const Point& point) {
            return size.pointInside(point) ? pushed : atPress;
        });
    } else {
        value = pushed;
        notify(context);
    }
}
