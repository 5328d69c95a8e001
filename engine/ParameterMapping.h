// From stored parameter values to the engine values the audio thread reads.
//
// Thread: any thread but the audio thread. Allocates nothing, takes no lock.
#pragma once

#include "engine/EngineState.h"

namespace engine::ParameterMapping {

// A feedback parameter's matrix gain: value x scale - offset, -0.9 .. 0.9.
inline constexpr float kFeedbackGainScale = 1.8f;
inline constexpr float kFeedbackGainOffset = 0.9f;

// The value a parameter holds after being set to value: NaN becomes 0; fSyncBPM and fDelay_i
// are quantised (in double, then rounded to float); everything else is kept as given.
float storedValue(int index, float value);

// Recomputes every derived value from the stored parameters and dSampleRate. Whatever the
// stored values are, each derived value stays within its documented range.
void updateEngine(EngineState& state);

// Engine quantities for the editor's displays (query indices of ParameterIndex), else 0.
float displayQuery(const EngineState& state, int index);

} // namespace engine::ParameterMapping
