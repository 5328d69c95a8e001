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

    static constexpr int kLines = EngineState::kLines;

    // Where a pass works in each line during a block: lag samples behind the write position
    // (ahead for a negative look-ahead), the lag limited to the line's length; and the positions
    // it still owes, when the last block left it further behind than that.
    struct Placement {
        std::int32_t lag[kLines] = {};
        std::int32_t owed[kLines] = {};
    };

    void beginBlock(EngineState& state) noexcept { place(state, placement); }
    // Sets state.iLimiterPos for a block. A limiter moved closer to the write position (a
    // shorter look-ahead, another mode) does not jump there: it goes on from where it stopped,
    // so no sample written meanwhile is ever read without having been limited.
    static void place(EngineState& state, Placement& placement) noexcept;
    // Works on the positions owed, at most length of them per line: the pass moves two
    // positions per sample until it is back at its lag.
    static void catchUp(EngineState& state, Placement& placement, std::int32_t length) noexcept;
    // Works on the next length (1..64) positions of every line.
    void run(EngineState& state, std::int32_t length) noexcept;

    // What a saturation mode divides atan(L x s) by: hardSat keeps unity gain only below L = 1.
    static float saturationDivisor(Mode mode, float level) noexcept {
        return mode == HardSaturation && level > 1.0f ? 1.0f : level;
    }

private:
    void saturate(EngineState& state, std::int32_t length, float level, float divisor) noexcept;
    // Modes 2 and 3; an instant attack makes the envelope jump to every peak.
    void limitPeaks(EngineState& state, std::int32_t length, float level, bool instantAttack,
                    float attack, float release) noexcept;
    void lookAhead(EngineState& state, std::int32_t length, float level, float release) noexcept;

    Placement placement;
};

} // namespace engine
