#include "effect/ValueConverters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

using Converter = void (*)(float, char*);

struct ConverterCase {
    const char* converter;
    Converter format;
    float value;
    const char* expected;
};

std::string convert(Converter format, float value) {
    char text[StringConvertSize];
    std::memset(text, '#', sizeof text);
    text[StringConvertSize - 1] = '\0';
    format(value, text);
    return text;
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// The float nearest s / (states - 1) selects state s, and the float just below it state s - 1.
float below(float value) {
    return std::nextafter(value, 0.0f);
}

#define CONVERTER(name) #name, name

const ConverterCase kCases[] = {
    {CONVERTER(formatDryWet), 0.0f, "  dry  "},
    {CONVERTER(formatDryWet), 1.0f, "  wet  "},
    {CONVERTER(formatDryWet), 0.25f, "0.75/0.25"},
    {CONVERTER(formatDryWet), 0.340533f, "0.66/0.34"},
    {CONVERTER(formatBalance), 0.0f, "  left  "},
    {CONVERTER(formatBalance), 1.0f, "  right  "},
    {CONVERTER(formatBalance), 0.333333f, "0.67/0.33"},
    {CONVERTER(formatRouting), 0.0f, "  Filt > Delay  "},
    {CONVERTER(formatRouting), below(0.5f), "  Filt > Delay  "},
    {CONVERTER(formatRouting), 0.5f, "  Delay > Filt  "},
    {CONVERTER(formatRouting), 1.0f, "  Delay > Filt  "},
    {CONVERTER(formatLimiterMode), 0.0f, "  hardSat  "},
    {CONVERTER(formatLimiterMode), 0.25f, "L-50.0ms"},
    {CONVERTER(formatLimiterMode), 0.001f, "L-99.8ms"},
    {CONVERTER(formatLimiterMode), 0.5f, "  hardLimit  "},
    {CONVERTER(formatLimiterMode), 0.75f, "C 50.0ms"},
    {CONVERTER(formatLimiterMode), below(1.0f), "C 100.0ms"},
    {CONVERTER(formatLimiterMode), 1.0f, "  softSat  "},
    {CONVERTER(formatLevelDb), 0.0f, "  -oo   "},
    {CONVERTER(formatLevelDb), -1.0f, "  -oo   "},
    {CONVERTER(formatLevelDb), kNaN, "  -oo   "},
    {CONVERTER(formatLevelDb), 1.0f, "  0.0dB  "},
    {CONVERTER(formatLevelDb), 0.25f, "  -12.0dB  "},
    {CONVERTER(formatLevelDb), 3.0f, "  9.5dB  "},
    {CONVERTER(formatTempo), 0.0f, "  sync  "},
    {CONVERTER(formatTempo), 120.0f, "120.0"},
    {CONVERTER(formatTempo), 4.1f, "4.1"},
    {CONVERTER(formatDelayMs), 0.0f, "0ms"},
    {CONVERTER(formatDelayMs), 800.0f, "800ms"},
    {CONVERTER(formatDelayMs), 2000.0f, "2000ms"},
    {CONVERTER(formatFeedbackAmount), 0.0f, "-0.90"},
    {CONVERTER(formatFeedbackAmount), 0.5f, "0.00"},
    {CONVERTER(formatFeedbackAmount), 0.775205f, "0.50"},
    {CONVERTER(formatFeedbackAmount), 1.0f, "0.90"},
    {CONVERTER(formatFilterType), 0.0f, "  Off  "},
    {CONVERTER(formatFilterType), 0.2499f, "  Off  "},
    {CONVERTER(formatFilterType), 0.25f, "  LowPass  "},
    {CONVERTER(formatFilterType), 0.5f, "  HighPass  "},
    {CONVERTER(formatFilterType), below(0.75f), "  HighPass  "},
    {CONVERTER(formatFilterType), 0.75f, "  BandPass  "},
    {CONVERTER(formatFilterType), 0.9999f, "  BandPass  "},
    {CONVERTER(formatFilterType), 1.0f, "  Notch  "},
    {CONVERTER(formatFilterType), 1.5f, "  Off  "},
    {CONVERTER(formatFilterType), -0.5f, "  Off  "},
    {CONVERTER(formatFilterType), kNaN, "  Off  "},
    {CONVERTER(formatFilterType), kInfinity, "  Off  "},
    {CONVERTER(formatModDestination), 1.0f / 7, "  CutOff  "},
    {CONVERTER(formatModDestination), below(1.0f / 7), "  Off  "},
    {CONVERTER(formatModDestination), 2.0f / 7, "  Resonance  "},
    {CONVERTER(formatModDestination), 3.0f / 7, "  Output  "},
    {CONVERTER(formatModDestination), 4.0f / 7, "  Pan  "},
    {CONVERTER(formatModDestination), 0.857f, "  2Delay  "},
    {CONVERTER(formatModDestination), 6.0f / 7, "  LFO2 D1  "},
    {CONVERTER(formatModDestination), below(1.0f), "  LFO2 D1  "},
    {CONVERTER(formatModDestination), 1.0f, "  LFO2 D2  "},
    {CONVERTER(formatLfo2Destination), 0.1f, "  Off  "},
    {CONVERTER(formatLfo2Destination), 0.2f, "  CutOff  "},
    {CONVERTER(formatLfo2Destination), 0.8f, "  Pan  "},
    {CONVERTER(formatLfo2Destination), below(1.0f), "  Pan  "},
    {CONVERTER(formatLfo2Destination), 1.0f, "  2Delay  "},
    {CONVERTER(formatDivision), 0.0f, "  1/16  "},
    {CONVERTER(formatDivision), -0.2f, "  1/16  "},
    {CONVERTER(formatDivision), below(0.25f), "  1/16  "},
    {CONVERTER(formatDivision), 0.25f, "  1/8  "},
    {CONVERTER(formatDivision), 0.5f, "  1/4  "},
    {CONVERTER(formatDivision), 0.75f, "  1/1  "},
    {CONVERTER(formatDivision), below(1.0f), "  1/1  "},
    {CONVERTER(formatDivision), 1.0f, "  4/1  "},
    {CONVERTER(formatStepCount), 0.0f, "      2"},
    {CONVERTER(formatStepCount), 0.5f, "      9"},
    {CONVERTER(formatStepCount), 0.999f, "     15"},
    {CONVERTER(formatStepCount), 1.0f, "     16"},
    {CONVERTER(formatStepCount), kNaN, "      2"},
    {CONVERTER(formatStepCount), 1.5f, "     16"}, // what plays, not 2 + 21
};

TEST(ValueConverters, WriteTheTextOfEachValue) {
    for (const ConverterCase& c : kCases) {
        EXPECT_EQ(convert(c.format, c.value), c.expected) << c.converter << "(" << c.value << ")";
    }
}

TEST(ValueConverters, DivisionOutsideItsStatesLeavesTheTextAsItWas) {
    for (const float value : {1.25f, 2.0f, -0.25f, kNaN, kInfinity}) {
        EXPECT_EQ(convert(formatDivision, value), std::string(StringConvertSize - 1, '#')) << value;
    }
}

TEST(ValueConverters, ExtremeValuesStayWithinTheTextBuffer) {
    const Converter all[] = {formatDryWet,         formatBalance,         formatRouting,
                             formatLimiterMode,    formatLevelDb,         formatTempo,
                             formatDelayMs,        formatFeedbackAmount,  formatFilterType,
                             formatModDestination, formatLfo2Destination, formatDivision,
                             formatStepCount};
    const float extremes[] = {std::numeric_limits<float>::max(),
                              -std::numeric_limits<float>::max(),
                              kInfinity,
                              -kInfinity,
                              kNaN,
                              1e-30f};
    for (const Converter format : all) {
        for (const float value : extremes) {
            char text[StringConvertSize + 1];
            text[StringConvertSize] = '!';
            std::memset(text, '#', StringConvertSize);
            text[StringConvertSize - 1] = '\0';
            format(value, text);
            EXPECT_EQ(text[StringConvertSize], '!') << value;
            EXPECT_LT(std::strlen(text), static_cast<std::size_t>(StringConvertSize)) << value;
        }
    }
}

} // namespace
