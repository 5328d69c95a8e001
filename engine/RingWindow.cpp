#include "engine/RingWindow.h"

#include <algorithm>

namespace engine {

void RingWindow::read(float* const (&lines)[kLines], const RingRuns (&runs)[kLines],
                      std::int32_t count) noexcept {
    for (int i = 0; i < kLines; ++i) {
        const float* ring = lines[i];
        std::copy_n(ring + runs[i].start, runs[i].firstCount, byLine[i]);
        std::copy_n(ring, runs[i].secondCount, byLine[i] + runs[i].firstCount);
    }
    // Whole groups of four; what lies past count is left over from earlier and never used.
    for (std::int32_t n = 0; n < count; n += Lanes::kCount) {
        Lanes r0 = Lanes::load(byLine[0] + n), r1 = Lanes::load(byLine[1] + n);
        Lanes r2 = Lanes::load(byLine[2] + n), r3 = Lanes::load(byLine[3] + n);
        transpose(r0, r1, r2, r3);
        r0.store(bySample[n]);
        r1.store(bySample[n + 1]);
        r2.store(bySample[n + 2]);
        r3.store(bySample[n + 3]);
    }
}

void RingWindow::write(float* const (&lines)[kLines], const RingRuns (&runs)[kLines],
                       std::int32_t count) const noexcept {
    alignas(16) float lineOrder[kLines][kLength];
    for (std::int32_t n = 0; n < count; n += Lanes::kCount) {
        Lanes r0 = at(n), r1 = at(n + 1), r2 = at(n + 2), r3 = at(n + 3);
        transpose(r0, r1, r2, r3);
        r0.store(lineOrder[0] + n);
        r1.store(lineOrder[1] + n);
        r2.store(lineOrder[2] + n);
        r3.store(lineOrder[3] + n);
    }
    for (int i = 0; i < kLines; ++i) {
        std::copy_n(lineOrder[i], runs[i].firstCount, lines[i] + runs[i].start);
        std::copy_n(lineOrder[i] + runs[i].firstCount, runs[i].secondCount, lines[i]);
    }
}

} // namespace engine
