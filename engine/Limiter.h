// The limiter/saturator pass that rewrites what the per-sample loop has just stored in the four
// delay lines, so that everything later read from a line has been limited once.
//
// Thread: audio. beginBlock() once per block, run() after each sub-block. The arctangent of
// the two saturation modes is the only transcendental function. A non-finite sample never
// stays in a line: it is taken as 0 by the detectors and becomes 0.
#pragma once

#include "engine/EngineState.h"

namespace engine {

class Limiter {
public:
    enum Mode : std::int32_t { HardSaturation, LookAhead, HardLimit, Envelope, SoftSaturation };

    // Places each line's limiter position lag samples behind its write position (ahead for a
    // negative look-ahead), with the lag limited to the line's length.
    void beginBlock(const EngineState& state) noexcept { place(state, lag, limiterPos); }
    // The same for any pass that keeps its own lags and positions.
    static void place(const EngineState& state, std::int32_t (&lag)[EngineState::kLines],
                      std::int32_t (&limiterPos)[EngineState::kLines]) noexcept;
    // Works on the next length (1..64) positions of every line.
    void run(EngineState& state, std::int32_t length) noexcept;

    std::int32_t position(int line) const noexcept { return limiterPos[line]; }

private:
    static constexpr int kLines = EngineState::kLines;

    void saturate(EngineState& state, std::int32_t length, float level, float divisor) noexcept;
    // Modes 2 and 3; an instant attack makes the envelope jump to every peak.
    void limitPeaks(EngineState& state, std::int32_t length, float level, bool instantAttack,
                    float attack, float release) noexcept;
    void lookAhead(EngineState& state, std::int32_t length, float level, float release) noexcept;

    std::int32_t lag[kLines] = {};
    std::int32_t limiterPos[kLines] = {};
};

} // namespace engine
