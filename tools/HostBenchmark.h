// Times an effect as a host runs it: noise in, 512-frame blocks at 48 kHz, the transport moving,
// after one second of warm-up in real time. Reports the process's CPU time (the effect's own
// threads included), not wall time, so other programs on the machine disturb it little.
#pragma once

#include "tools/EffectHost.h"

#include <cstdint>

struct BenchmarkResult {
    std::int64_t frames = 0;
    double cpuSeconds = 0.0; // of the whole process, over the timed blocks

    double secondsPerFrame() const { return cpuSeconds / static_cast<double>(frames); }
    // Seconds of audio per second of CPU time.
    double realTimeFactor() const;
};

class HostBenchmark {
public:
    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 512;
    static constexpr double warmUpSeconds = 1.0;

    // Gives the effect the rate and block size; set programs and parameters after this.
    explicit HostBenchmark(EffectHost& host);

    // Switches the effect on, warms it up, times seconds of audio, switches it off.
    BenchmarkResult run(double seconds);

private:
    EffectHost& host;
};
