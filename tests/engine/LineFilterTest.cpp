// The line filter: what a constant input settles at, the coefficient targets and the types.
#include "engine/LineFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace engine;

namespace {

constexpr double kPi = 3.14159265358979323846;

float settle(LineFilter::Type type, float frequency, float damping, float input) {
    LineFilter filter;
    filter.begin(0.0f, 0.0f, type);
    float output = 0.0f;
    for (int n = 0; n < 20000; ++n) {
        output = filter.sample(input, frequency, damping);
    }
    return output;
}

TEST(LineFilter, ConstantInputSettlesAtTheTypesValue) {
    const struct {
        LineFilter::Type type;
        float settled;
    } cases[] = {
        {LineFilter::Off, 0.75f},
        {LineFilter::LowPass, 0.6664f},
        {LineFilter::HighPass, 0.0f},
        {LineFilter::BandPass, 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(settle(c.type, 0.1f, 1.0f, 1.0f), c.settled, 1e-4) << "type " << c.type;
        EXPECT_NEAR(settle(c.type, 0.1f, 1.0f, -2.0f), -2.0f * c.settled, 2e-4)
            << "type " << c.type;
    }
}

TEST(LineFilter, OffScalesEverySampleByThreeQuarters) {
    LineFilter filter;
    filter.begin(0.3f, -0.2f, LineFilter::Off);
    for (float x : {1.0f, -0.5f, 0.125f, 3.0f, 0.0f}) {
        EXPECT_EQ(filter.sample(x, 0.25f, 0.5f), 0.75f * x);
    }
}

TEST(LineFilter, TypeIsChosenByTruncationAndOffOutsideTheTable) {
    const std::pair<float, LineFilter::Type> cases[] = {
        {0.0f, LineFilter::Off},
        {0.249f, LineFilter::Off},
        {0.25f, LineFilter::LowPass},
        {0.5f, LineFilter::HighPass},
        {0.75f, LineFilter::BandPass},
        {0.99f, LineFilter::BandPass},
        {1.0f, LineFilter::Notch},
        {1.01f, LineFilter::Notch},
        {1.25f, LineFilter::Off},
        {-0.3f, LineFilter::Off},
        {std::numeric_limits<float>::quiet_NaN(), LineFilter::Off},
        {std::numeric_limits<float>::infinity(), LineFilter::Off},
    };
    for (const auto& [value, type] : cases) {
        EXPECT_EQ(LineFilter::typeFor(value), type) << "value " << value;
    }
}

// F and q from the cutoff formula evaluated in double, for comparison.
double referenceFrequency(double cutoff, double sampleRate) {
    const double fc = 1760.0 * std::pow(2.0, (127.0 * cutoff - 69.0) / 12.0);
    return std::min(0.25, 2.0 * std::sin(kPi * fc / (2.0 * sampleRate)));
}

TEST(LineFilter, TargetsFollowCutoffAndResonance) {
    const struct {
        float cutoff, resonance;
        LineFilter::Type type;
        float sampleRate;
        double damping;
    } cases[] = {
        {0.0f, 0.0f, LineFilter::Off, 48000.0f, 2.0},
        {0.3f, 0.0f, LineFilter::LowPass, 44100.0f, 2.0},
        {0.5f, 1.0f, LineFilter::LowPass, 48000.0f, 0.0},
        {0.5f, 1.0f, LineFilter::Notch, 48000.0f, 0.0},
        {0.5f, 1.0f, LineFilter::HighPass, 48000.0f, 2.0 * (1.0 - std::pow(0.499, 0.25))},
        {0.2f, 0.5f, LineFilter::BandPass, 96000.0f, 2.0 * (1.0 - std::pow(0.5 * 0.499, 0.25))},
        {1.0f, 0.0f, LineFilter::Off, 44100.0f, 2.0},
    };
    for (const auto& c : cases) {
        const LineFilter::Coefficients target =
            LineFilter::targets(c.cutoff, c.resonance, c.type, c.sampleRate);
        SCOPED_TRACE(testing::Message() << "cutoff " << c.cutoff << " resonance " << c.resonance);
        EXPECT_NEAR(target.frequency, referenceFrequency(c.cutoff, c.sampleRate), 1e-6);
        const double limit = std::min(2.0, 2.0 / target.frequency - target.frequency / 2.0);
        EXPECT_NEAR(target.damping, std::min(c.damping, limit), 1e-6);
    }
    EXPECT_NEAR(LineFilter::targets(0.5f, 1.0f, LineFilter::HighPass, 48000.0f).damping, 0.319,
                5e-4);
}

TEST(LineFilter, CutoffIsCappedAtAQuarterWhateverTheSampleRate) {
    for (float rate : {44100.0f, 8000.0f, 100.0f, 1.0f, 1e-3f}) {
        const LineFilter::Coefficients target =
            LineFilter::targets(1.0f, 1.0f, LineFilter::LowPass, rate);
        EXPECT_EQ(target.frequency, 0.25f) << "rate " << rate;
        EXPECT_GE(target.damping, 0.0f);
        EXPECT_LE(target.damping, 2.0f);
    }
}

} // namespace
