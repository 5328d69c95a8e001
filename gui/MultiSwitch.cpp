#include "gui/MultiSwitch.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

MultiSwitch::MultiSwitch(const Rect& size, ControlListener* listener, std::int32_t tag,
                         std::int32_t imageCount, std::int32_t imageHeight,
                         std::int32_t positionCount, Bitmap* bitmap, const Point& offset)
    : Control(size, listener, tag), bitmap(bitmap), offset(offset), imageCount(imageCount),
      imageHeight(imageHeight), positionCount(positionCount) {
    defaultValue = 0.0f;
    if (bitmap != nullptr) {
        bitmap->remember();
    }
}

MultiSwitch::~MultiSwitch() {
    if (bitmap != nullptr) {
        bitmap->forget();
    }
}

void MultiSwitch::draw(DrawContext* context) {
    std::int32_t image = imageCount > 1 ? imageCount - 1 : 0;
    if (imageCount > 1) {
        const float step = 1.0f / static_cast<float>(imageCount - 1);
        for (std::int32_t index = 1; index < imageCount; ++index) {
            if (static_cast<float>(index) * step > value) {
                image = index - 1;
                break;
            }
        }
    }
    if (bitmap != nullptr) {
        bitmap->draw(context, size, Point(0, image * imageHeight));
    }
    oldValue = value;
}

void MultiSwitch::mouse(DrawContext* context, Point& where) {
    if (!mouseEnabled || applyDefaultOnAltClick(context, context->getMouseButtons())) {
        return;
    }
    trackMouse(context, where, [this](const Point& point) { return pointToValue(point); });
}

float MultiSwitch::positionValue(std::int32_t coordinate, double extent, bool endInclusive) const {
    if (positionCount < 2) {
        return 1.0f;
    }
    const double zone = extent / positionCount;
    for (std::int32_t index = 1; index < positionCount; ++index) {
        const std::int32_t end = truncated(index * zone);
        if (coordinate < end || (endInclusive && coordinate == end)) {
            return static_cast<float>(index - 1) / static_cast<float>(positionCount - 1);
        }
    }
    return 1.0f;
}
