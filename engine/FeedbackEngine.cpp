#include "engine/FeedbackEngine.h"

#include "engine/NeutralSetting.h"
#include "engine/ParameterMapping.h"

#include <cmath>
#include <new>

namespace engine {

namespace PI = ParameterIndex;

namespace {

constexpr float kLowestSampleRate = 10000.0f;
// Samples of the spare lines cleared per frame processed: after a panic the 4 x 2 s of spare
// lines are clear again within 1/8 s of audio, at a small fraction of each block's cost.
constexpr int kClearedPerFrame = 64;

bool isParameter(int index) {
    return index >= 0 && index < PI::kNumParameters;
}

} // namespace

FeedbackEngine::FeedbackEngine(Path path)
    : network(path == Path::Vector ? new (std::nothrow) DelayNetwork : nullptr) {
    engineState.reallocateLines(EngineState::kInitialBufferSize);
    for (int index = 0; index < PI::kNumParameters; ++index) {
        storeParameter(index, kNeutralSetting[index]);
    }
    updateEngine();
}

FeedbackEngine::~FeedbackEngine() = default;

bool FeedbackEngine::hasDelayMemory() const {
    return engineState.hasLines();
}

void FeedbackEngine::storeParameter(int index, float value) {
    if (isParameter(index)) {
        storeRelaxed(engineState.parameters[index], ParameterMapping::storedValue(index, value));
    }
}

float FeedbackEngine::getParameter(int index) const {
    if (isParameter(index)) {
        return engineState.parameter(index);
    }
    return ParameterMapping::displayQuery(engineState, index);
}

void FeedbackEngine::updateEngine() {
    ParameterMapping::updateEngine(engineState);
}

void FeedbackEngine::resume(float sampleRate) {
    const float rate = std::isfinite(sampleRate) && sampleRate >= kLowestSampleRate
                           ? sampleRate
                           : static_cast<float>(EngineState::kDefaultSampleRate);
    storeRelaxed(engineState.dSampleRate, static_cast<double>(rate));
    const double needed = std::trunc(EngineState::kLineSeconds * rate);
    if (needed > loadRelaxed(engineState.iBufferSize) || !engineState.hasLines()) {
        // On failure the old lines stay, and every delay is still limited to their length.
        engineState.reallocateLines(static_cast<std::int64_t>(needed));
    }
    // Delay lengths and limiter times follow the new rate at once: hosts switch the effect on
    // at their rate without touching a parameter.
    updateEngine();
    applyPendingReset();
    clearRunningState();
    storeRelaxed(engineState.dSongPos, 0.0);
    const float limit = loadRelaxed(engineState.fLimit);
    for (float& envelope : engineState.fEnv) {
        envelope = limit;
    }
}

void FeedbackEngine::suspend() {
    applyPendingReset();
    clearRunningState();
}

void FeedbackEngine::resetEngine() {
    resetRequested.store(true, std::memory_order_release);
}

int FeedbackEngine::getCurrentStep() const {
    return loadRelaxed(engineState.iCurrentStep);
}

void FeedbackEngine::process(float** inputs, float** outputs, std::int32_t sampleFrames,
                             OutputMode mode, float sampleRate,
                             TransportSource* transport) noexcept {
    applyPendingReset();
    // The spares a reset swapped in are cleared along the way, a slice per block.
    engineState.clearSpareSlice(std::int64_t{kClearedPerFrame} *
                                (sampleFrames > 0 ? sampleFrames : 1));
    if (network) {
        network->process(engineState, inputs, outputs, sampleFrames, mode, sampleRate, transport);
    } else {
        plainNetwork.process(engineState, inputs, outputs, sampleFrames, mode, sampleRate,
                             transport);
    }
}

void FeedbackEngine::clearRunningState() noexcept {
    engineState.clearLines();
    clearPositionsAndFilters();
}

void FeedbackEngine::clearPositionsAndFilters() noexcept {
    for (int i = 0; i < EngineState::kLines; ++i) {
        engineState.iWritePos[i] = 0;
        engineState.iLimiterPos[i] = -1;
        engineState.fSvfBand[i] = 0.0f;
        engineState.fSvfLow[i] = 0.0f;
    }
}

void FeedbackEngine::applyPendingReset() noexcept {
    if (!resetRequested.exchange(false, std::memory_order_acquire)) {
        return;
    }
    engineState.replaceLinesByCleared();
    clearPositionsAndFilters();
    const float limit = loadRelaxed(engineState.fLimit);
    for (int i = 0; i < EngineState::kLines; ++i) {
        engineState.fGainEnv[i] = 1.0f;
        engineState.fEnv[i] = limit;
    }
}

} // namespace engine
