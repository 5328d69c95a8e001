// The block processing of the four delay lines: sub-blocks of at most 64 samples with control-
// rate modulation and linear ramps, the per-sample loop in both routings, and the limiter pass
// after every sub-block.
//
// Thread: audio. Allocates nothing, takes no lock; the per-sample loop calls no transcendental
// function.
#pragma once

#include "engine/EngineState.h"
#include "engine/Limiter.h"
#include "engine/LineFilter.h"
#include "engine/Modulation.h"
#include "engine/Transport.h"

#include <cstdint>

namespace engine {

class DelayNetwork {
public:
    static constexpr std::int32_t kSubBlockLength = 64;

    // nSub: whole sub-blocks in a block, at least 1. It scales the modulation increments.
    static std::int32_t subBlockDivisor(std::int32_t frames) noexcept;

    // Runs one block over non-interleaved stereo buffers (inputs are written back with the
    // anti-denormal offset). Negative frames count as 0; null buffers with frames > 0 leave
    // everything untouched.
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
