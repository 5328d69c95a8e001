// The two LFOs and the step sequencer, running in beats from the host's song position or from
// the engine's own tempo, and the per-line working values they move.
//
// Thread: audio. beginBlock() once per block, update() once per sub-block of at most 64
// samples, endBlock() after the block. No allocation, no lock.
#pragma once

#include "engine/EngineState.h"
#include "engine/Transport.h"

namespace engine {

class Modulation {
public:
    // Rows of the working values and of their base values, each with one value per line.
    enum Row : int {
        Cutoff,
        Resonance,
        Level,
        Pan,
        Send,
        Lfo2Amount0, // LFO 2's amounts of its first and second destination
        Lfo2Amount1,
        Unused, // written by pairs whose destination is off, never read
        kNumRows
    };

    // Reads the block's tempo and song position (asking transport while the engine follows the
    // host), the phases and increments, decodes the destinations and makes the working copies.
    // frames >= 0; subBlockDivisor is nSub (>= 1); sampleRate is finite and positive.
    void beginBlock(EngineState& state, std::int32_t frames, std::int32_t subBlockDivisor,
                    float sampleRate, TransportSource* transport) noexcept;
    // LFO 1, then the sequencer, then LFO 2.
    void update(EngineState& state) noexcept;
    // Advances the own clock's song position by the block's beats.
    void endBlock(EngineState& state, std::int32_t frames) const noexcept;

    float working(Row row, int line) const noexcept { return values[row][line]; }
    // A row's four values, line 0 first.
    const float (&workingRow(Row row) const noexcept)[EngineState::kLines] { return values[row]; }

private:
    static constexpr int kLines = EngineState::kLines;

    void updateLfo(const EngineState& state, int lfo,
                   const float (&base)[kNumRows][kLines]) noexcept;
    void updateSequencer(EngineState& state, const float (&base)[kNumRows][kLines]) noexcept;
    // Moves the sequencer's phase on and sets iCurrentStep; position: phase x iNumSteps.
    std::int32_t advanceSequencer(EngineState& state, float& position) noexcept;

    float values[kNumRows][kLines] = {};
    float resonanceCopy[kLines] = {};

    double tempo = 0.0;      // the block's tempo T, beats per minute
    bool ownClock = false;   // the block runs on dTempo
    double lfoPhase[2] = {}; // cycles
    double stepPhase = 0.0;  // cycles
    float lfoIncrement[2] = {};
    float stepIncrement = 0.0f;
    float lfoValue[2][kLines] = {}; // 0..2 per line
    float lfoAmount[2][kLines] = {};
    float stepAmount[2][kLines] = {};
    // The working row each (source, destination) pair writes, decoded once per block so that
    // the sub-block update has no branch on the destination.
    Row lfoTarget[2][2] = {};
    Row stepTarget[2] = {};
    // Sources with at least one destination; the others compute nothing.
    bool lfoActive[2] = {};
    bool stepActive = false;
    unsigned movedRows = 0; // bit r: some active source writes row r
};

} // namespace engine
