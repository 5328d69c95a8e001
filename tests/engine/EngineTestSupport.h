// Helpers shared by the engine tests: parameter setting as the effect does it, a scripted host
// transport, and stereo buffers with guard samples past both ends.
#pragma once

#include "engine/FeedbackEngine.h"
#include "engine/NeutralSetting.h"
#include "engine/ParameterIndex.h"
#include "engine/ParameterMapping.h"
#include "engine/Transport.h"

#include <cstdint>
#include <vector>

namespace PI = ParameterIndex;

constexpr float kRate = 48000.0f;

// Store, then recompute: what FeedbackEffect::setParameter does with the engine.
inline void setParameter(engine::FeedbackEngine& engine, int index, float value) {
    engine.storeParameter(index, value);
    engine.updateEngine();
}

// The same on a bare engine state (for the modulation and limiter tests).
inline void setParameter(engine::EngineState& state, int index, float value) {
    engine::storeRelaxed(state.parameters[index],
                         engine::ParameterMapping::storedValue(index, value));
    engine::ParameterMapping::updateEngine(state);
}

inline void setNeutral(engine::EngineState& state) {
    for (int index = 0; index < PI::kNumParameters; ++index) {
        engine::storeRelaxed(state.parameters[index], engine::kNeutralSetting[index]);
    }
    engine::ParameterMapping::updateEngine(state);
}

struct ScriptedTransport : engine::TransportSource {
    bool answer = true;
    engine::HostTransport time{0.0, 120.0, 48000.0};
    int calls = 0;
    bool readTransport(engine::HostTransport& transport) noexcept override {
        ++calls;
        if (answer) {
            transport = time;
        }
        return answer;
    }
};

// Input and output of a whole run, cut into blocks of a given size. Every buffer handed to the
// engine has guard samples on both sides; the run fails the calling test if any is touched.
struct Render {
    std::vector<float> left, right;
};

constexpr int kGuard = 8;
constexpr float kGuardValue = -12345.0f;

// Runs input through the engine in blocks; outputs start from 'prefill' (for Accumulate).
// Returns false if a guard sample was touched.
bool render(engine::FeedbackEngine& engine, const Render& input, Render& output, int blockSize,
            engine::OutputMode mode = engine::OutputMode::Replace, float sampleRate = kRate,
            engine::TransportSource* transport = nullptr, float prefill = 0.0f);

// An engine at 48 kHz where only line 'line' sounds: mix fully wet, every other line's level 0,
// filters off, no feedback, and the hard limiter at level 1 (which leaves samples below 1 as they
// are).
void isolateLine(engine::FeedbackEngine& engine, int line);

inline Render silence(std::size_t frames) {
    return {std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
}
