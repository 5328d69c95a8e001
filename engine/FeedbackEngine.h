// The audio engine of the feedback delay: the 111 parameter values, the derived engine values,
// the four delay lines and the block processing. It knows nothing of the host interface.
//
// Lifecycle: construction and resume() may allocate; suspend() and resetEngine() only clear;
// process() never allocates, locks or throws.
#pragma once

#include "engine/DelayNetwork.h"
#include "engine/EngineState.h"
#include "engine/ReferenceNetwork.h"
#include "engine/Transport.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace engine {

class FeedbackEngine {
public:
    // Which network processes the blocks: the vectorised one, or its plain twin that serves as
    // oracle and yardstick. Both give the same samples.
    enum class Path { Vector, Plain };

    explicit FeedbackEngine(Path path = Path::Vector);
    ~FeedbackEngine();
    FeedbackEngine(const FeedbackEngine&) = delete;
    FeedbackEngine& operator=(const FeedbackEngine&) = delete;

    // False when the delay memory could not be allocated at construction.
    bool hasDelayMemory() const;

    // Stores a parameter value (0..110), quantised where the parameter is; NaN is taken as 0.
    // Other indices are ignored. Does not recompute derived values: call updateEngine().
    void storeParameter(int index, float value);
    // Stored parameter values for 0..110, engine quantities for the display queries, else 0.
    float getParameter(int index) const;

    // Recomputes every derived value from the stored parameters. Allocates nothing.
    void updateEngine();

    // Host switches the effect on: sample rate below 10000 becomes 48000; buffers grow to two
    // seconds (never shrink, and keep their old size if memory runs out); every derived value
    // is recomputed for the rate; lines are cleared.
    void resume(float sampleRate);
    void suspend();
    // Clears lines, filter states and limiter envelopes. Safe from any thread: the clearing
    // itself is done at the start of the next block (at once, by swapping in cleared spare
    // lines), or by suspend() or resume().
    void resetEngine();

    int getCurrentStep() const;

    // Runs one block. sampleRate is the host-set rate used for filters and modulation speed;
    // transport is asked for the host's time while the engine follows the host's tempo.
    // Adds 1e-13 offsets into the input buffers, as the recursive paths need.
    void process(float** inputs, float** outputs, std::int32_t sampleFrames, OutputMode mode,
                 float sampleRate, TransportSource* transport) noexcept;

    // Read-only view of the engine's state, for tests and displays.
    const EngineState& state() const { return engineState; }

private:
    void clearRunningState() noexcept;
    void clearPositionsAndFilters() noexcept;
    void applyPendingReset() noexcept;

    EngineState engineState;
    // On the heap, where its own operator new keeps the lanes aligned; none without memory, and
    // then the plain network plays instead (the same samples).
    std::unique_ptr<DelayNetwork> network;
    ReferenceNetwork plainNetwork;
    // Set by resetEngine on any thread; the clearing itself runs on the audio thread at the
    // next block (or in suspend/resume), so no other thread writes the lines while they play.
    std::atomic<bool> resetRequested{false};
};

} // namespace engine
