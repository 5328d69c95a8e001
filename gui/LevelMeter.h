// A level meter of LEDs: the "on" bitmap up to the value, the "off" bitmap beyond it, rounded to
// whole LEDs. A falling value sinks by at most the decay per draw. A display: no listener.
#pragma once

#include "gui/Control.h"

class Bitmap;

enum LevelMeterStyle : std::int32_t {
    LevelMeterHorizontal = 1, // lit from the left; otherwise lit from the bottom
};

class LevelMeter : public Control {
public:
    LevelMeter(const Rect& size, Bitmap* onBitmap, Bitmap* offBitmap, std::int32_t ledCount,
               std::int32_t style = 0);
    ~LevelMeter() override;

    // Stores the value it shows: limited to the range and to the decay below the last one.
    // Nothing without an "on" bitmap.
    void draw(DrawContext* context) override;

    virtual void setDecay(float perDraw) { decay = perDraw; }
    float getDecay() const { return decay; }

private:
    // The lit fraction of the meter rounded to whole LEDs, 0 .. 1.
    float litFraction(float level) const;

    Bitmap* onBitmap;
    Bitmap* offBitmap;
    std::int32_t ledCount;
    std::int32_t style;
    float decay = 1.0f;
    Rect onRect;
    Rect offRect;
};
