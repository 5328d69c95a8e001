// The arctangent of the saturation modes, on four lanes at once, in float arithmetic: within
// 2 ulp of (float)atan((double)x) for every float (atan(+-inf) = +-pi/2, NaN stays NaN, the
// sign of zero is kept), shown by a test over all 2^32 bit patterns.
#pragma once

#include "engine/Lanes.h"

namespace engine {

inline Lanes arctangent(Lanes x) noexcept {
    // atan(a) = pi/2 + atan(-1/a) above 1, so the polynomial only sees 0 <= r <= 1.
    constexpr float kHalfPiHigh = 1.570796371e+00f;
    constexpr float kHalfPiLow = -4.371138829e-08f; // pi/2 - kHalfPiHigh
    // atan(r) = r + r z P(z) with z = r^2: a Chebyshev fit on 0 <= z <= 1, highest power first.
    constexpr float kP[] = {-2.386997221e-03f, 1.350777131e-02f,  -3.587153926e-02f,
                            6.250169128e-02f,  -8.656880260e-02f, 1.103376448e-01f,
                            -1.427856833e-01f, 1.999973953e-01f,  -3.333333135e-01f};

    const Lanes a = x.magnitude();
    const Mask above = a > Lanes(1.0f); // false for NaN, which then passes through r
    // r = min(a, 1/a): the polynomial is odd, so atan(-1/a) is -atan(1/a) exactly.
    const Lanes r = minimum(a, Lanes(1.0f) / a);
    const Lanes z = r * r;
    Lanes p = kP[0];
    for (int k = 1; k < static_cast<int>(sizeof kP / sizeof kP[0]); ++k) {
        p = p * z + kP[k];
    }
    const Lanes y = (r + r * z * p) ^ (Lanes(-0.0f) & above);
    const Lanes result = (Lanes(kHalfPiHigh) & above) + ((Lanes(kHalfPiLow) & above) + y);
    return result ^ x.sign();
}

} // namespace engine
