// The limiter pass of Limiter on the four lines as lanes: the saturation modes along time, four
// consecutive samples of a line at once; the envelope modes on the four lines side by side, a
// sample at a time. Its samples and envelopes are those of Limiter, bit for bit.
//
// Thread: audio. beginBlock() once per block, run() after each sub-block. No allocation, no
// library call.
#pragma once

#include "engine/EngineState.h"
#include "engine/Lanes.h"
#include "engine/Limiter.h"
#include "engine/RingWindow.h"

#include <cstdint>

namespace engine {

class LimiterLanes {
public:
    // As Limiter::beginBlock.
    void beginBlock(EngineState& state) noexcept { Limiter::place(state, placement); }
    // Works on the next length (1..64) positions of every line.
    void run(EngineState& state, std::int32_t length) noexcept;

private:
    static constexpr int kLines = EngineState::kLines;

    void saturate(EngineState& state, const RingRuns (&runs)[kLines], float level,
                  float divisor) noexcept;
    template <typename Saturation>
    void saturateRuns(EngineState& state, const RingRuns (&runs)[kLines],
                      Saturation saturated) noexcept;
    void limitPeaks(EngineState& state, std::int32_t length, float level, bool instantAttack,
                    float attack, float release) noexcept;
    // reach[i]: steps after which the detector of line i meets a sample the gain has just
    // rewritten (the gain runs that far ahead of it in the ring), or 0 when it never does.
    void lookAhead(EngineState& state, std::int32_t length, const std::int32_t (&reach)[kLines],
                   float level, float release) noexcept;

    Limiter::Placement placement;
    RingWindow gains;     // the samples the gain works on
    RingWindow detectors; // look-ahead: the samples just written
};

} // namespace engine
