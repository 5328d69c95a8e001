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
