// The built-in demo phrase: two bars at 120 beats per minute of plucked notes, a kick and a
// hi-hat, and a chord, with the last beats left empty so the echoes can be heard. Made in
// code, so the demo needs no audio file.
#pragma once

#include <vector>

class DemoSignal {
public:
    static constexpr int sampleRate = 48000; // Hz
    static constexpr int channels = 2;
    static constexpr double tempo = 120.0; // beats per minute
    static constexpr int beats = 8;
    static constexpr int frames = static_cast<int>(beats * 60.0 * sampleRate / tempo);
    static constexpr float peak = 0.8f; // the loudest sample, below full scale

    // Interleaved stereo frames; identical on every call.
    static std::vector<float> generate();
};
