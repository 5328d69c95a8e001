// Everything the engine keeps between calls: the 111 stored parameter values, the values
// derived from them, the delay lines and the audio thread's running state.
//
// Threads: parameters and derived values are written by setParameter (any thread but the audio
// thread) and read by the audio thread; they are atomics accessed with relaxed ordering, one
// field at a time, as the audio path tolerates a change at any point. iCurrentStep and dSongPos
// travel the other way. Everything else belongs to the audio thread while processing runs and
// to the lifecycle operations (construction, resume, suspend) otherwise.
//
// Lifecycle: construction and reallocateLines() allocate; clearing never does.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace engine {

template <typename T> T loadRelaxed(const std::atomic<T>& value) noexcept {
    return value.load(std::memory_order_relaxed);
}
template <typename T> void storeRelaxed(std::atomic<T>& value, T newValue) noexcept {
    value.store(newValue, std::memory_order_relaxed);
}

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<double>::is_always_lock_free &&
                  std::atomic<std::int32_t>::is_always_lock_free,
              "shared engine values must be lock-free");

struct EngineState {
    static constexpr int kLines = ParameterIndex::kNumLines;
    // The rate the engine assumes wherever the host has given none it can use: from
    // construction on, in resume for a rate below 10 kHz, in process for one that is not finite
    // and positive.
    static constexpr double kDefaultSampleRate = 48000.0;
    // Each line holds two seconds at the rate it was last grown for.
    static constexpr double kLineSeconds = 2.0;
    static constexpr std::int32_t kInitialBufferSize =
        static_cast<std::int32_t>(kLineSeconds * kDefaultSampleRate);
    // No delay is shorter, not even one of 0 ms.
    static constexpr std::int32_t kMinDelaySamples = 64;
    static constexpr float kDenormalOffset = 1e-13f;

    EngineState();
    EngineState(const EngineState&) = delete;
    EngineState& operator=(const EngineState&) = delete;

    // Replaces the four lines, and their cleared spares, with cleared ones of the given length.
    // On failure (no memory, or a length beyond what an int32 ring can hold) the old lines and
    // size stay; false then. Without memory for the spares the lines work without them.
    bool reallocateLines(std::int64_t length);
    bool hasLines() const noexcept { return pDelayBuffer[0] != nullptr; }
    // Zeroes the four lines over their whole length, and whatever of the spares is not yet.
    void clearLines() noexcept;
    // Cleared lines at once, for the audio thread: the spares take the lines' place when they
    // are clear (the old lines become the spares, cleared later a slice at a time), else the
    // lines are zeroed where they are.
    void replaceLinesByCleared() noexcept;
    // Zeroes up to samples more of the spares; nothing once they are clear.
    void clearSpareSlice(std::int64_t samples) noexcept;

    float parameter(int index) const noexcept { return loadRelaxed(parameters[index]); }

    // Samples in each delay buffer; grows in resume, never shrinks.
    std::atomic<std::int32_t> iBufferSize{kInitialBufferSize};
    // Stored values, indexed by ParameterIndex; never NaN.
    std::array<std::atomic<float>, ParameterIndex::kNumParameters> parameters;

    std::unique_ptr<float[]> pDelayBuffer[kLines];
    std::unique_ptr<float[]> pSpareBuffer[kLines]; // iBufferSize each, or none
    std::int64_t iSpareCleared = 0;      // of the four spares one after another, from the start
    std::int32_t iWritePos[kLines] = {}; // 0 <= value < iDelaySamples[i]
    std::atomic<std::int32_t> iDelaySamples[kLines]; // kMinDelaySamples .. iBufferSize - 1
    std::atomic<float> fMatrixGain[kLines][kLines];  // into line i from line j, -0.9..0.9
    std::atomic<float> fLfoAmount[2][2][kLines];     // LFO, destination, line; -1..1
    std::atomic<float> fStepAmount[2][kLines];       // destination, line; -1..1

    // Smoothed per-line values, advanced every sample by the ramps.
    float fSvfF[kLines] = {};
    float fSvfQ[kLines] = {};
    float fSvfBand[kLines] = {};
    float fSvfLow[kLines] = {};
    float fPanR[kLines] = {};
    float fPanL[kLines] = {};
    float fSend[kLines] = {};
    float fLevel[kLines] = {0.5f, 0.5f, 0.5f, 0.5f};

    std::atomic<std::int32_t> iLimiterMode{0}; // 0..4
    std::atomic<float> fAttackCoef{0.0f};      // per sample, at most 1
    std::atomic<float> fReleaseCoef{0.0f};     // per sample, at most 1
    std::atomic<float> fLimit{1.0f};           // linear, 0.25..3
    std::atomic<std::int32_t> iLookAhead{0};   // samples; negative places the limiter ahead
    // The last position of each line the limiter has worked on, carried from block to block so
    // that a limiter moved closer to the write position catches up on what it has not reached;
    // -1 while the lines are freshly cleared.
    std::int32_t iLimiterPos[kLines] = {-1, -1, -1, -1};
    std::int32_t iHold[kLines] = {};
    float fEnv[kLines] = {1.0f, 1.0f, 1.0f, 1.0f};
    float fGainEnv[kLines] = {1.0f, 1.0f, 1.0f, 1.0f};
    float fGainSlope[kLines] = {};

    std::atomic<float> fDelayMs[kLines]; // whole milliseconds, 0..2000
    std::atomic<double> dTempo{120.0};   // beats per minute, 4..260; 0 follows the host
    std::atomic<double> dSongPos{0.0};   // beats
    std::atomic<double> dSampleRate{kDefaultSampleRate}; // delay lengths, limiter times, own clock
    std::atomic<float> fStepShiftSteps{0.0f};            // 0..iNumSteps
    std::atomic<std::int32_t> iNumSteps{16};             // 2..16
    std::atomic<std::int32_t> iCurrentStep{0};           // written by the audio thread
    float fDenormal = kDenormalOffset;                   // sign flips every sample
    std::atomic<std::int32_t> iFiltAfterDelay{0};
};

} // namespace engine
