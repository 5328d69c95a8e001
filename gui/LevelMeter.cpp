#include "gui/LevelMeter.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

LevelMeter::LevelMeter(const Rect& size, Bitmap* onBitmap, Bitmap* offBitmap, std::int32_t ledCount,
                       std::int32_t style)
    : Control(size), onBitmap(onBitmap), offBitmap(offBitmap), ledCount(ledCount), style(style),
      onRect(size), offRect(size) {
    if (onBitmap != nullptr) {
        onBitmap->remember();
    }
    if (offBitmap != nullptr) {
        offBitmap->remember();
    }
}

LevelMeter::~LevelMeter() {
    if (onBitmap != nullptr) {
        onBitmap->forget();
    }
    if (offBitmap != nullptr) {
        offBitmap->forget();
    }
}

float LevelMeter::litFraction(float level) const {
    float fraction = level;
    if (ledCount > 0) {
        const float leds = static_cast<float>(ledCount);
        fraction = static_cast<float>(truncated(leds * level + 0.5f)) / leds;
    }
    return clamped(fraction, 0.0f, 1.0f);
}

void LevelMeter::draw(DrawContext* context) {
    if (onBitmap == nullptr) {
        return;
    }
    float floor = oldValue - decay;
    floor = floor >= minimum ? floor : minimum;
    value = clamped(value, minimum, maximum);
    value = value >= floor ? value : floor;
    oldValue = value;
    if ((style & LevelMeterHorizontal) != 0) {
        const std::int32_t lit = truncated(onBitmap->getWidth() * litFraction(value));
        onRect.right = toCoordinate(std::int64_t{size.left} + lit);
        offRect.left = onRect.right;
        if (offBitmap != nullptr) {
            offBitmap->draw(context, offRect, Point(lit, 0));
        }
        onBitmap->draw(context, onRect, Point(0, 0));
    } else {
        const std::int32_t dark = truncated(onBitmap->getHeight() * litFraction(maximum - value));
        offRect.bottom = toCoordinate(std::int64_t{size.top} + dark);
        onRect.top = offRect.bottom;
        if (offBitmap != nullptr) {
            offBitmap->draw(context, offRect, Point(0, 0));
        }
        onBitmap->draw(context, onRect, Point(0, dark));
    }
}
