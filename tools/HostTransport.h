// The simulated transport the host reports to the effect through audioMasterGetTime: playing
// from a start position at a steady tempo, moved on block by block.
#pragma once

#include "host/VstInterface.h"

#include <cstdint>

class HostTransport {
public:
    static constexpr double defaultTempo = 120.0; // beats per minute

    // sampleRate in Hz (> 0), tempo in beats per minute (> 0), startBeat in quarter notes.
    void configure(double sampleRate, double tempo, double startBeat);
    // Called before each block with the number of frames rendered so far.
    void moveTo(std::int64_t samplePosition);

    // The record handed to the effect. It is rewritten at every move, so an effect that writes
    // into it (it must only read) cannot disturb the next block's time.
    VstTimeInfo* timeInfo() { return &info; }
    double tempo() const { return beatsPerMinute; }
    double startBeat() const { return firstBeat; }

private:
    double rate = 44100.0;
    double beatsPerMinute = defaultTempo;
    double firstBeat = 0.0;
    VstTimeInfo info{};
};
