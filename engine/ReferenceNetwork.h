// The plain twin of DelayNetwork: the same block processing written one line and one sample at a
// time, with filter targets recomputed every sub-block. It is the oracle the vectorised network
// is compared with sample for sample, and the yardstick of its speed; the effect plays it only
// where there was no memory for the vectorised one.
//
// Thread: audio. Allocates nothing, takes no lock; the per-sample loop calls no transcendental
// function.
#pragma once

#include "engine/DelayNetwork.h"
#include "engine/EngineState.h"
#include "engine/Limiter.h"
#include "engine/LineFilter.h"
#include "engine/Modulation.h"
#include "engine/Transport.h"

#include <cstdint>

namespace engine {

class ReferenceNetwork {
public:
    // As DelayNetwork::process.
    void process(EngineState& state, float** inputs, float** outputs, std::int32_t frames,
                 OutputMode mode, float sampleRate, TransportSource* transport) noexcept;

private:
    static constexpr int kLines = EngineState::kLines;

    void setRamps(const EngineState& state, float sampleRate) noexcept;
    template <bool FilterAfterDelay, bool Accumulate>
    void runSamples(EngineState& state, float* const* inputs, float* const* outputs,
                    std::int32_t offset, std::int32_t count) noexcept;

    Modulation modulation;
    Limiter limiter;
    LineFilter filters[kLines];
    float mix = 0.0f;
    float balance[kLines] = {};
    // Per-sample increments of the smoothed members, set every sub-block.
    float frequencyStep[kLines] = {};
    float dampingStep[kLines] = {};
    float panRightStep[kLines] = {};
    float panLeftStep[kLines] = {};
    float sendStep[kLines] = {};
    float levelStep[kLines] = {};
};

} // namespace engine
