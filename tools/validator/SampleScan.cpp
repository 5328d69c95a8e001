#include "tools/validator/SampleScan.h"

#include <cmath>
#include <cstdio>

std::string describeValue(float value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+inf" : "-inf";
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.7g%s", static_cast<double>(value),
                  std::fpclassify(value) == FP_SUBNORMAL ? " (subnormal)" : "");
    return text;
}

std::string BadSample::describe(const char* direction) const {
    return std::string(direction) + " " + std::to_string(channel) + ", frame " +
           std::to_string(frame) + ": " + describeValue(value);
}

BadSample findBadSample(const float* const* channels, int channelCount, int frames) {
    for (int channel = 0; channel < channelCount; ++channel) {
        for (int frame = 0; frame < frames; ++frame) {
            const float value = channels[channel][frame];
            const int kind = std::fpclassify(value);
            if (kind == FP_NAN || kind == FP_INFINITE || kind == FP_SUBNORMAL) {
                return {channel, frame, value};
            }
        }
    }
    return {};
}

float peakOf(const float* const* channels, int channelCount, int frames) {
    float peak = 0.0f;
    for (int channel = 0; channel < channelCount; ++channel) {
        for (int frame = 0; frame < frames; ++frame) {
            const float magnitude = std::fabs(channels[channel][frame]);
            if (std::isfinite(magnitude) && magnitude > peak) {
                peak = magnitude;
            }
        }
    }
    return peak;
}
