#include "tools/DemoSignal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

float peakOf(const std::vector<float>& samples, std::size_t firstFrame, std::size_t lastFrame) {
    float peak = 0.0f;
    for (std::size_t i = firstFrame * DemoSignal::channels;
         i < lastFrame * DemoSignal::channels && i < samples.size(); ++i) {
        peak = std::max(peak, std::fabs(samples[i]));
    }
    return peak;
}

constexpr std::size_t framesPerBeat = DemoSignal::frames / DemoSignal::beats;

} // namespace

TEST(DemoSignal, IsTheSameOnEveryCall) {
    EXPECT_EQ(DemoSignal::generate(), DemoSignal::generate());
}

TEST(DemoSignal, IsTwoBarsOfStereoFiniteAndBelowFullScale) {
    const std::vector<float> signal = DemoSignal::generate();
    EXPECT_EQ(signal.size(), 2u * 4 * 48000); // 8 beats at 120 beats per minute, 48 kHz
    EXPECT_TRUE(std::all_of(signal.begin(), signal.end(),
                            [](float sample) { return std::isfinite(sample); }));
    EXPECT_FLOAT_EQ(peakOf(signal, 0, DemoSignal::frames), DemoSignal::peak);
}

TEST(DemoSignal, PlaysOnTheBeatsAndLeavesTheEndQuietForTheEchoes) {
    const std::vector<float> signal = DemoSignal::generate();
    // Something starts on each of the first seven beats.
    for (std::size_t beat = 0; beat < 7; ++beat) {
        SCOPED_TRACE("beat " + std::to_string(beat));
        EXPECT_GT(peakOf(signal, beat * framesPerBeat, beat * framesPerBeat + 2400), 0.05f);
    }
    // The last half beat is silent and both channels carry sound.
    EXPECT_EQ(peakOf(signal, DemoSignal::frames - framesPerBeat / 2, DemoSignal::frames), 0.0f);
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 0; i + 1 < signal.size(); i += 2) {
        left += std::fabs(signal[i]);
        right += std::fabs(signal[i + 1]);
    }
    EXPECT_GT(left, 0.0);
    EXPECT_GT(right, 0.0);
    EXPECT_NE(left, right); // panned, not a mono copy
}
