// How the engine reads its divided and stepped parameters. The host's texts and the editor's
// displays read them through these same rules, so a text always names what plays.
#pragma once

#include "engine/ParameterIndex.h"
#include "engine/SafeConversion.h"

#include <cmath>
#include <cstdint>

namespace engine::ParameterStates {

// Note values of the LFO rates and the sequencer's step time: 1/16, 1/8, 1/4, 1/1 and 4/1.
constexpr int kDivisions = 5;
// Destinations of the first LFO and the sequencer, and the first six of them for the second
// LFO; "Off" is state 0 of both.
constexpr int kModDestinations = 8;
constexpr int kLfo2Destinations = 6;

constexpr std::int32_t kMinSteps = 2;
constexpr std::int32_t kMaxSteps = ParameterIndex::kNumSteps;

// The division trunc(4 x value), or -1 outside the table. Unlike an enumeration, the first
// division has a band of its own and the last needs exactly 1.0.
inline int divisionState(float value) noexcept {
    const double n = std::trunc(4.0 * static_cast<double>(value));
    return n >= 0.0 && n < kDivisions ? static_cast<int>(n) : -1;
}

// The steps that play: 2 + trunc(14 x value), the product in float so that the n-th band
// begins exactly at n/14, within 2..16.
inline std::int32_t stepCount(float value) noexcept {
    return SafeConversion::truncateClamped(kMinSteps + std::trunc(14.0f * value), kMinSteps,
                                           kMaxSteps);
}

} // namespace engine::ParameterStates
