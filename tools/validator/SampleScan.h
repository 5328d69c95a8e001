// Finding the samples a host must never receive: NaN, infinity and subnormal numbers.
#pragma once

#include <string>

struct BadSample {
    int channel = -1; // -1: none found
    int frame = 0;
    float value = 0.0f;

    bool found() const { return channel >= 0; }
    // "output 1, frame 17: NaN"
    std::string describe(const char* direction = "output") const;
};

// The first non-finite or subnormal sample of the channels' first `frames` frames.
BadSample findBadSample(const float* const* channels, int channelCount, int frames);
// The largest magnitude among the channels' first `frames` frames (non-finite ones ignored).
float peakOf(const float* const* channels, int channelCount, int frames);
// Describes a float for messages: "NaN", "+inf", "1e+30", "1.4e-45 (subnormal)".
std::string describeValue(float value);
