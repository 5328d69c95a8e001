#include "gui/DigitDisplay.h"

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

#include <algorithm>

namespace {

constexpr std::int32_t base = 10;
constexpr std::int32_t highestDigit = base - 1;

std::int32_t digitsWithin(std::int32_t count) {
    return count < 0 ? 0
                     : (count > DigitDisplay::maximumDigits ? DigitDisplay::maximumDigits : count);
}

} // namespace

DigitDisplay::DigitDisplay(const Rect& size, ControlListener* listener, std::int32_t tag,
                           std::int32_t initialValue, std::int32_t digitCount,
                           const std::int32_t* xPositions, const std::int32_t* yPositions,
                           std::int32_t digitWidth, std::int32_t digitHeight, Bitmap* digits)
    : Control(size, listener, tag), digits(digits), digitCount(digitsWithin(digitCount)),
      digitWidth(digitWidth), digitHeight(digitHeight) {
    value = static_cast<float>(initialValue);
    std::int32_t largest = 1;
    for (std::int32_t index = 0; index < this->digitCount; ++index) {
        largest *= base;
        this->xPositions[index] = xPositions != nullptr ? xPositions[index] : 0;
        this->yPositions[index] = yPositions != nullptr ? yPositions[index] : 0;
    }
    minimum = 0.0f;
    maximum = static_cast<float>(largest - 1);
    if (digits != nullptr) {
        digits->remember();
    }
}

DigitDisplay::~DigitDisplay() {
    if (digits != nullptr) {
        digits->forget();
    }
}

void DigitDisplay::draw(DrawContext* context) {
    oldValue = value;
    const std::int64_t high = std::max<std::int64_t>(truncated(maximum), 0);
    const std::int64_t low = std::clamp<std::int64_t>(truncated(minimum), 0, high);
    std::int64_t number = std::clamp<std::int64_t>(truncated(value), low, high);
    std::int64_t divisor = (high + 1) / base;
    for (std::int32_t index = 0; index < digitCount && divisor > 0; ++index) {
        const std::int64_t digit = std::clamp<std::int64_t>(number / divisor, 0, highestDigit);
        number -= digit * divisor;
        divisor /= base;
        if (digits != nullptr) {
            const Rect place(xPositions[index], yPositions[index],
                             toCoordinate(std::int64_t{xPositions[index]} + digitWidth),
                             toCoordinate(std::int64_t{yPositions[index]} + digitHeight));
            digits->draw(context, place, Point(0, toCoordinate(digit * digitHeight)));
        }
    }
}

float DigitDisplay::getNormValue() const {
    if (!(maximum > 0.0f)) {
        return 0.0f;
    }
    return clamped(value / maximum, 0.0f, 1.0f);
}
