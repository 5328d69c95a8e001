// A knob drawn as one frame of a vertical strip of N frames of H pixels; it turns about the
// control's centre and keeps the knob's angle mapping.
#pragma once

#include "gui/Knob.h"

class StripKnob : public Knob {
public:
    // offset is kept as the background offset; the strip is drawn from frame offsets.
    StripKnob(const Rect& size, ControlListener* listener, std::int32_t tag,
              std::int32_t frameCount, std::int32_t frameHeight, Bitmap* strip,
              const Point& offset = Point());

    void draw(DrawContext* context) override;

    // The strip's vertical offset for the current value: only exactly 1.0 shows the last frame.
    std::int32_t frameOffset() const;

private:
    std::int32_t frameCount;
    std::int32_t frameHeight;
};
