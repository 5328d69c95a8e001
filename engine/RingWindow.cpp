#include "engine/RingWindow.h"

#include <algorithm>

namespace engine {

namespace {

// Groups of four cover count rounded up; what lies past count is never used.
std::int32_t wholeGroups(std::int32_t count) {
    return (count + Lanes::kCount - 1) / Lanes::kCount * Lanes::kCount;
}

} // namespace

void RingWindow::read(float* const (&lines)[kLines], const RingRuns (&runs)[kLines],
                      std::int32_t count, std::int32_t size) noexcept {
    // A line read in one run is read in place (a group may reach past the run, never past the
    // buffer); one that wraps is copied together first.
    const float* from[kLines];
    for (int i = 0; i < kLines; ++i) {
        const float* ring = lines[i];
        if (runs[i].secondCount == 0 && runs[i].start + wholeGroups(count) <= size) {
            from[i] = ring + runs[i].start;
        } else {
            std::copy_n(ring + runs[i].start, runs[i].firstCount, byLine[i]);
            std::copy_n(ring, runs[i].secondCount, byLine[i] + runs[i].firstCount);
            from[i] = byLine[i];
        }
    }
    for (std::int32_t n = 0; n < count; n += Lanes::kCount) {
        Lanes r0 = Lanes::loadUnaligned(from[0] + n), r1 = Lanes::loadUnaligned(from[1] + n);
        Lanes r2 = Lanes::loadUnaligned(from[2] + n), r3 = Lanes::loadUnaligned(from[3] + n);
        transpose(r0, r1, r2, r3);
        r0.store(bySample[n]);
        r1.store(bySample[n + 1]);
        r2.store(bySample[n + 2]);
        r3.store(bySample[n + 3]);
    }
}

void RingWindow::write(float* const (&lines)[kLines], const RingRuns (&runs)[kLines],
                       std::int32_t count) noexcept {
    // Whole groups inside a line's first run go straight into the ring; the rest through a copy.
    std::int32_t direct = count / Lanes::kCount * Lanes::kCount;
    for (int i = 0; i < kLines; ++i) {
        direct = std::min(direct, runs[i].firstCount / Lanes::kCount * Lanes::kCount);
    }
    float* into[kLines];
    for (int i = 0; i < kLines; ++i) {
        into[i] = lines[i] + runs[i].start;
    }
    std::int32_t n = 0;
    for (; n < direct; n += Lanes::kCount) {
        Lanes r0 = at(n), r1 = at(n + 1), r2 = at(n + 2), r3 = at(n + 3);
        transpose(r0, r1, r2, r3);
        r0.storeUnaligned(into[0] + n);
        r1.storeUnaligned(into[1] + n);
        r2.storeUnaligned(into[2] + n);
        r3.storeUnaligned(into[3] + n);
    }
    if (n == count) {
        return;
    }
    for (std::int32_t m = n; m < count; m += Lanes::kCount) {
        Lanes r0 = at(m), r1 = at(m + 1), r2 = at(m + 2), r3 = at(m + 3);
        transpose(r0, r1, r2, r3);
        r0.store(byLine[0] + m);
        r1.store(byLine[1] + m);
        r2.store(byLine[2] + m);
        r3.store(byLine[3] + m);
    }
    for (int i = 0; i < kLines; ++i) {
        const std::int32_t first = std::max(n, std::min(count, runs[i].firstCount));
        std::copy(byLine[i] + n, byLine[i] + first, lines[i] + runs[i].start + n);
        std::copy(byLine[i] + first, byLine[i] + count, lines[i] + (first - runs[i].firstCount));
    }
}

} // namespace engine
