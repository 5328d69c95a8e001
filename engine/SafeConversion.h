// Conversions from parameter values and intermediate results to integers and bounded floats
// that are defined for every input, NaN, infinities and huge values included. Inside the
// nominal range they give exactly what plain truncation or plain clamping gives.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace engine::SafeConversion {

// trunc(value) limited to lo..hi; NaN gives lo.
inline std::int32_t truncateClamped(double value, std::int32_t lo, std::int32_t hi) noexcept {
    const double whole = std::trunc(value);
    if (!(whole >= lo)) {
        return lo;
    }
    if (whole > hi) {
        return hi;
    }
    return static_cast<std::int32_t>(whole);
}

// The state n = trunc(value x (states - 1)) of an enumerated parameter, in the texts and in the
// engine alike; any n outside 1..states-1 (negative, too large, NaN) is state 0, so the last
// state needs exactly 1.0. A float times a small integer is exact in double, so the band edges
// fall where the decimal fractions say.
inline std::int32_t enumerationState(float value, std::int32_t states) noexcept {
    const double n = std::trunc(static_cast<double>(value) * (states - 1));
    if (n >= 1.0 && n <= states - 1) {
        return static_cast<std::int32_t>(n);
    }
    return 0;
}

// A value taken within 0..1; NaN gives 0.
inline float unitRange(float value) noexcept {
    value = value > 1.0f ? 1.0f : value;
    return value >= 0.0f ? value : 0.0f;
}

// A value taken within lo..hi; NaN gives lo.
inline float clampRange(float value, float lo, float hi) noexcept {
    value = value > hi ? hi : value;
    return value >= lo ? value : lo;
}

// One compare: false for NaN and both infinities.
inline bool isFiniteSample(float value) noexcept {
    return std::fabs(value) <= FLT_MAX;
}

} // namespace engine::SafeConversion
