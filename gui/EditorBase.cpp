#include "gui/EditorBase.h"

#include "gui/Frame.h"
#include "gui/platform/Input.h"
#include "host/EffectBase.h"

namespace {
constexpr std::uint32_t idleInterval = 50; // milliseconds
}

EditorBase::EditorBase(EffectBase* effect) : effect(effect), lastIdleTime(platform::tickCount()) {
    if (effect != nullptr) {
        effect->setEditor(this);
    }
}

EditorBase::~EditorBase() {
    delete frame;
    frame = nullptr;
}

bool EditorBase::getRect(ERect** out) {
    if (out != nullptr) {
        *out = &rect;
    }
    return true;
}

bool EditorBase::open(void* parentWindow) {
    postUpdate();
    systemWindow = parentWindow;
    return false;
}

void EditorBase::idle() {
    // Acquire: the update sees every parameter stored before the request.
    if (updateFlag.exchange(0, std::memory_order_acquire) != 0) {
        update();
    }
    if (frame != nullptr) {
        frame->idle();
    }
}

void EditorBase::setParameter(std::int32_t index, float value) {
    (void)index;
    (void)value;
    postUpdate();
}

void EditorBase::redraw() {
    if (frame != nullptr) {
        frame->drawView(nullptr);
    }
}

void EditorBase::idleThrottled() {
    const std::uint32_t now = platform::tickCount();
    // The difference stays right across the counter's wrap every 49.7 days; comparing
    // last + 50 with now would stop idling for a whole wrap period after one.
    if (now - lastIdleTime < idleInterval) {
        return;
    }
    lastIdleTime = now;
    idle();
    if (effect != nullptr) {
        effect->hostIdle();
    }
}
