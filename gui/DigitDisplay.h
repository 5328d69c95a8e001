// A whole number of up to seven decimal digits, each drawn from a strip of the ten digit images
// 0 to 9 at a window position of its own.
#pragma once

#include "gui/Control.h"

class Bitmap;

class DigitDisplay : public Control {
public:
    static constexpr std::int32_t maximumDigits = 7; // every value still exact in a float

    // xPositions and yPositions: one window position per digit, the most significant first;
    // null arrays put every digit at 0. More than seven digits are reduced to seven. The range
    // becomes 0 .. 10^digits - 1.
    DigitDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                 std::int32_t initialValue, std::int32_t digitCount, const std::int32_t* xPositions,
                 const std::int32_t* yPositions, std::int32_t digitWidth, std::int32_t digitHeight,
                 Bitmap* digits);
    ~DigitDisplay() override;

    // The value truncated and limited to the range, every digit shown, leading zeros included.
    void draw(DrawContext* context) override;

    // value / maximum, limited to 0 .. 1.
    virtual float getNormValue() const;

    std::int32_t getDigitCount() const { return digitCount; }

private:
    Bitmap* digits;
    std::int32_t digitCount;
    std::int32_t xPositions[maximumDigits] = {};
    std::int32_t yPositions[maximumDigits] = {};
    std::int32_t digitWidth;
    std::int32_t digitHeight;
};
