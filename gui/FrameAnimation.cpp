#include "gui/FrameAnimation.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

FrameAnimation::FrameAnimation(const Rect& size, ControlListener* listener, std::int32_t tag,
                               std::int32_t frameCount, std::int32_t frameHeight, Bitmap* bitmap,
                               const Point& offset)
    : Control(size, listener, tag), bitmap(bitmap), offset(offset), frameCount(frameCount),
      frameHeight(frameHeight),
      stripHeight(truncated(static_cast<double>(frameCount) * frameHeight)) {
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

FrameAnimation::~FrameAnimation() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void FrameAnimation::draw(DrawContext* context) {
    if (open && bitmap != nullptr) {
        bitmap->draw(context, size, Point(offset.h, offset.v + truncated(value)));
    }
    oldValue = value;
}

void FrameAnimation::mouse(DrawContext* context, Point& where) {
    (void)where;
    if (!mouseEnabled) {
        return;
    }
    value = 0.0f;
    if (open) {
        draw(context);
        closeWindow();
    } else {
        openWindow();
        oldValue = -1.0f;
        notify(context);
    }
}

void FrameAnimation::nextPixmap() {
    stepFrames(1);
}

void FrameAnimation::previousPixmap() {
    stepFrames(-1);
}

void FrameAnimation::stepFrames(std::int32_t step) {
    if (frameCount <= 0 || frameHeight <= 0 || stripHeight <= 0) {
        value = 0.0f;
        return;
    }
    // Every frame is shown once per round; an offset between frame starts counts as its frame.
    const std::int64_t offsetNow = clamped<std::int32_t>(truncated(value), 0, stripHeight - 1);
    const std::int64_t frame = (offsetNow / frameHeight + step + frameCount) % frameCount;
    value = static_cast<float>(frame * frameHeight);
}
