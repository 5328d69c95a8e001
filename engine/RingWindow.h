// The samples of the four delay lines that one sub-block touches, copied out of the rings and
// back, and turned between time order (per line) and line order (per sample) for the lanes.
//
// Thread: audio. Allocates nothing.
#pragma once

#include "engine/EngineState.h"
#include "engine/Lanes.h"

#include <cstdint>

namespace engine {

// Where the next count positions of a ring lie after position, each step re-wrapped to 0 at the
// ring's length: at most two runs, since count never exceeds the length.
struct RingRuns {
    std::int32_t start = 0;       // of the first run
    std::int32_t firstCount = 0;  // samples in the first run
    std::int32_t secondCount = 0; // samples in the second run, which starts at 0
    std::int32_t end = 0;         // the last position visited

    static RingRuns after(std::int32_t position, std::int32_t count, std::int32_t length) noexcept {
        RingRuns runs;
        runs.start = position + 1 >= length ? 0 : position + 1;
        runs.firstCount = count < length - runs.start ? count : length - runs.start;
        runs.secondCount = count - runs.firstCount;
        runs.end = count == 0             ? position
                   : runs.secondCount > 0 ? runs.secondCount - 1
                                          : runs.start + runs.firstCount - 1;
        return runs;
    }
};

class RingWindow {
public:
    static constexpr int kLines = EngineState::kLines;
    static constexpr std::int32_t kLength = 64; // samples per line at most

    // Takes count (1..kLength) samples of every line from its runs; size: samples each line's
    // buffer holds.
    void read(float* const (&lines)[kLines], const RingRuns (&runs)[kLines], std::int32_t count,
              std::int32_t size) noexcept;
    // Puts count samples of every line back into its runs, and nothing else into the buffers.
    void write(float* const (&lines)[kLines], const RingRuns (&runs)[kLines],
               std::int32_t count) noexcept;

    // Sample n of the four lines, in line order.
    Lanes at(std::int32_t n) const noexcept { return Lanes::load(bySample[n]); }
    void set(std::int32_t n, Lanes samples) noexcept { samples.store(bySample[n]); }
    float& sample(std::int32_t n, int line) noexcept { return bySample[n][line]; }

private:
    alignas(16) float byLine[kLines][kLength] = {};
    alignas(16) float bySample[kLength][kLines] = {};
};

} // namespace engine
