// The fixed-width value texts. Every case also checks that nothing is written past the 9 bytes
// a helper may use.
#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr int kGuardedSize = 32;
constexpr char kGuard = '#';

// Runs a helper into a guarded buffer; fails when it writes past its 9 bytes.
std::string written(const std::function<void(char*)>& helper) {
    char buffer[kGuardedSize];
    std::memset(buffer, kGuard, sizeof buffer);
    helper(buffer);
    for (int i = EffectBase::kValueTextSize; i < kGuardedSize; ++i) {
        EXPECT_EQ(buffer[i], kGuard) << "written past the text at " << i;
    }
    const void* end = std::memchr(buffer, '\0', EffectBase::kValueTextSize);
    EXPECT_NE(end, nullptr) << "text not terminated within 9 bytes";
    return end != nullptr
               ? std::string(static_cast<const char*>(buffer), static_cast<const char*>(end))
               : std::string();
}

struct FloatCase {
    float value;
    const char* text;
};

TEST(TextHelpers, FloatToTextWritesEightCharactersWithTheDigitsThatFit) {
    const FloatCase cases[] = {
        {0.5f, "0.500000"},
        {0.0f, "0.000000"},
        {-0.0f, "0.000000"},
        {1.0f, "1.000000"},
        {0.25f, "0.250000"},
        {12.25f, "12.25000"},
        {-0.5f, "-0.50000"},
        {1234567.0f, "1234567."},
        {12345678.0f, "2345678."},
        {-9999999.0f, "-999999."},
        {-123.5f, "-123.500"},
        {-1e-30f, "-0.00000"},
        // Digits are integer parts of the value as it arrives in 32 bits.
        {0.7f, "0.699999"},
        {0.340533f, "0.340532"},
    };
    MinimalEffect effect(nullptr);
    for (const FloatCase& floatCase : cases) {
        EXPECT_EQ(written([&](char* text) { effect.floatToText(floatCase.value, text); }),
                  floatCase.text)
            << floatCase.value;
    }
}

TEST(TextHelpers, FloatToTextShowsHugeBeyondItsRangeAndForNonNumbers) {
    const float values[] = {100000000.0f, -10000000.0f, 1e30f, -1e30f,
                            kInfinity,    -kInfinity,   kNaN,  -kNaN};
    MinimalEffect effect(nullptr);
    for (float value : values) {
        EXPECT_EQ(written([&](char* text) { effect.floatToText(value, text); }), " Huge!  ")
            << value;
    }
}

TEST(TextHelpers, IntegerToTextRightAlignsInSevenPlacesAndKeepsEightCharacters) {
    struct IntegerCase {
        VstInt32 value;
        const char* text;
    };
    const IntegerCase cases[] = {
        {42, "     42"},          {0, "      0"},
        {-5, "     -5"},          {1234567, "1234567"},
        {-1234567, "-1234567"},   {99999999, "99999999"},
        {-123456789, "-1234567"}, {std::numeric_limits<VstInt32>::min(), "-2147483"},
        {100000000, " Huge!  "},  {std::numeric_limits<VstInt32>::max(), " Huge!  "},
    };
    MinimalEffect effect(nullptr);
    for (const IntegerCase& integerCase : cases) {
        EXPECT_EQ(written([&](char* text) { effect.integerToText(integerCase.value, text); }),
                  integerCase.text)
            << integerCase.value;
    }
}

TEST(TextHelpers, DecibelsToTextShowsMinusInfinityForSilence) {
    const FloatCase cases[] = {
        {1.0f, "0.000000"},  {10.0f, "20.00000"},      {0.5f, "-6.02059"},      {0.0f, "  -oo   "},
        {-1.0f, "  -oo   "}, {-kInfinity, "  -oo   "}, {kInfinity, " Huge!  "}, {kNaN, " Huge!  "},
    };
    MinimalEffect effect(nullptr);
    for (const FloatCase& decibelCase : cases) {
        EXPECT_EQ(written([&](char* text) { effect.decibelsToText(decibelCase.value, text); }),
                  decibelCase.text)
            << decibelCase.value;
    }
}

TEST(TextHelpers, HertzToTextDividesTheSampleRateByThePeriod) {
    const FloatCase cases[] = {
        {480.0f, "100.0000"}, {0.0f, "0.000000"},      {-0.0f, "0.000000"},
        {kNaN, " Huge!  "},   {kInfinity, "0.000000"}, {1e-30f, " Huge!  "},
    };
    MinimalEffect effect(nullptr);
    effect.setSampleRate(48000.0f);
    for (const FloatCase& hertzCase : cases) {
        EXPECT_EQ(written([&](char* text) { effect.hertzToText(hertzCase.value, text); }),
                  hertzCase.text)
            << hertzCase.value;
    }
}

TEST(TextHelpers, MillisecondsToTextConvertsSamplesAtTheSampleRate) {
    const FloatCase cases[] = {
        {48.0f, "1.000000"}, {48000.0f, "1000.000"},  {0.0f, "0.000000"},
        {kNaN, " Huge!  "},  {kInfinity, " Huge!  "}, {-kInfinity, " Huge!  "},
    };
    MinimalEffect effect(nullptr);
    effect.setSampleRate(48000.0f);
    for (const FloatCase& millisecondCase : cases) {
        EXPECT_EQ(
            written([&](char* text) { effect.millisecondsToText(millisecondCase.value, text); }),
            millisecondCase.text)
            << millisecondCase.value;
    }
}

} // namespace
