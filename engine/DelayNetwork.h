// The block processing of the four delay lines: sub-blocks of at most 64 samples with control-
// rate modulation and linear ramps, the per-sample work in both routings, and the limiter pass
// after every sub-block. The four lines are the four lanes of one vector throughout; as every
// line is at least one sub-block long, a sub-block never reads what it writes, so the lines are
// read for the whole sub-block first, and only the filters' recursion runs sample by sample.
// Its samples are those of ReferenceNetwork, bit for bit.
//
// Thread: audio. Allocates nothing, takes no lock; transcendental functions run only at control
// rate, and only when their inputs changed.
#pragma once

#include "engine/EngineState.h"
#include "engine/FilterLanes.h"
#include "engine/LimiterLanes.h"
#include "engine/LineFilter.h"
#include "engine/Modulation.h"
#include "engine/RingWindow.h"
#include "engine/Transport.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

namespace engine {

class DelayNetwork {
public:
    static constexpr std::int32_t kSubBlockLength = RingWindow::kLength;
    static_assert(kSubBlockLength <= EngineState::kMinDelaySamples,
                  "a sub-block must not reach the samples it writes");
    // Ramps move by a sub-block's share of the distance per sample, also in a shorter last
    // sub-block, which then stops short of its target.
    static constexpr float kRampFraction = 1.0f / kSubBlockLength;

    // nSub: whole sub-blocks in a block, at least 1. It scales the modulation increments.
    static std::int32_t subBlockDivisor(std::int32_t frames) noexcept;
    // False for null buffers when there are frames to process.
    static bool buffersUsable(float* const* inputs, float* const* outputs,
                              std::int32_t frames) noexcept;
    // Without delay lines: the finite input, straight to the output.
    static void passThrough(float* const* inputs, float* const* outputs, std::int32_t frames,
                            OutputMode mode) noexcept;
    // What every block passes first: negative frames count as 0, an unusable rate is the
    // default one; null buffers leave everything untouched, and without lines the input passes
    // through. False when that was the whole block.
    static bool admitBlock(const EngineState& state, float* const* inputs, float* const* outputs,
                           std::int32_t& frames, OutputMode mode, float& sampleRate) noexcept;

    // Heap copies keep the lanes' 16-byte alignment also where malloc gives only 8 bytes
    // (32-bit Windows), which the default operator new would take for enough.
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
        return ::operator new (size, std::align_val_t{alignof(DelayNetwork)}, std::nothrow);
    }
    static void operator delete(void* pointer) noexcept {
        ::operator delete (pointer, std::align_val_t{alignof(DelayNetwork)});
    }

    // Runs one block over non-interleaved stereo buffers (inputs are written back with the
    // anti-denormal offset). Negative frames count as 0; null buffers with frames > 0 leave
    // everything untouched.
    void process(EngineState& state, float** inputs, float** outputs, std::int32_t frames,
                 OutputMode mode, float sampleRate, TransportSource* transport) noexcept;

private:
    static constexpr int kLines = EngineState::kLines;

    void setRamps(const EngineState& state, float sampleRate) noexcept;
    // One sub-block of the lines from the block's offset on, up to the limiter's pass.
    void runSubBlock(EngineState& state, float* const* inputs, float* const* outputs,
                     std::int32_t offset, std::int32_t length, OutputMode mode) noexcept;
    // The offset inputs of one sub-block, written back and kept for the loop and the mix.
    void takeInputs(EngineState& state, float* const* inputs, std::int32_t offset,
                    std::int32_t count) noexcept;
    template <bool FilterAfterDelay, bool Accumulate>
    void runSamples(EngineState& state, float* const* outputs, std::int32_t offset,
                    std::int32_t count) noexcept;
    // The filters' recursion, sample by sample, into filtered; First and Second as the
    // block's FilterLanes::kind().
    template <bool FilterAfterDelay, int First, int Second>
    void runFilters(EngineState& state, std::int32_t count) noexcept;
    // Calls the runFilters of the block's kind directly, so that it is inlined.
    template <bool FilterAfterDelay, std::size_t... Kind>
    void runFiltersOfKind(EngineState& state, std::int32_t count,
                          std::index_sequence<Kind...>) noexcept;
    // Level, pan, send and the matrix: what goes back into the lines, and the outputs.
    template <bool FilterAfterDelay, bool Accumulate>
    void mixLines(EngineState& state, float* const* outputs, std::int32_t offset,
                  std::int32_t count) noexcept;

    Modulation modulation;
    LimiterLanes limiter;
    FilterLanes filters;
    RingWindow window;
    LineFilter::Type types[kLines] = {};
    float mix = 0.0f;
    alignas(16) float balance[kLines] = {};
    // Per-sample increments of the smoothed members, set every sub-block.
    alignas(16) float frequencyStep[kLines] = {};
    alignas(16) float dampingStep[kLines] = {};
    alignas(16) float panRightStep[kLines] = {};
    alignas(16) float panLeftStep[kLines] = {};
    alignas(16) float sendStep[kLines] = {};
    alignas(16) float levelStep[kLines] = {};
    // Each line's filter targets and what they were computed from; NaN: nothing yet.
    static constexpr float kNothing = std::numeric_limits<float>::quiet_NaN();
    float targetCutoff[kLines] = {kNothing, kNothing, kNothing, kNothing};
    float targetRate[kLines] = {kNothing, kNothing, kNothing, kNothing};
    float targetResonance[kLines] = {kNothing, kNothing, kNothing, kNothing};
    LineFilter::Type targetType[kLines] = {};
    alignas(16) float targetFrequency[kLines] = {};
    float targetDamping[kLines] = {}; // before the limit F sets
    // One sub-block: the offset inputs along time, and each line's filter output per sample
    // (in line order).
    alignas(16) float left[kSubBlockLength] = {};
    alignas(16) float right[kSubBlockLength] = {};
    alignas(16) float filtered[kSubBlockLength][kLines] = {};
};

} // namespace engine
