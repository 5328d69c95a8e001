#include "effect/FactoryPresets.h"
#include "effect/ParameterTable.h"
#include "effect/ProgramSlot.h"
#include "engine/NeutralSetting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace ParameterIndex;

// The slots of the factory presets, in program order.
enum FactorySlot : int {
    kStereoDelay,
    kOffbeatDelay,
    kPadMakeup,
    kLoopBubbler,
    kStereoScrambler,
    kHexler,
    kHacktrack,
    kDirtyEcho,
    kFactoryPresets
};

constexpr int feedback(int into, int from) {
    return line(into, Feedback0 + from);
}

struct GivenValue {
    int index;
    float value;
};

ParameterValues neutralValues() {
    return engine::kNeutralSetting;
}

TEST(FactoryPresets, SlotsCarryTheirNames) {
    const char* const names[kNumPrograms] = {
        "stereo delay", "offbeat delay", "pad makeup", "loop bubbler", "stereo scambler",
        "hexler",       "hacktrack",     "dirty echo", "init",         "init"};
    for (int slot = 0; slot < kNumPrograms; ++slot) {
        EXPECT_STREQ(factoryPresetName(slot), names[slot]) << slot;
    }
}

TEST(FactoryPresets, EveryValueLiesWithinTheParameterRange) {
    for (int slot = 0; slot < kNumPrograms; ++slot) {
        const ParameterValues values = factoryPresetValues(slot);
        for (int index = 0; index < kNumParameters; ++index) {
            EXPECT_GE(values[index], 0.0f) << "slot " << slot << " index " << index;
            EXPECT_LE(values[index], 1.0f) << "slot " << slot << " index " << index;
        }
    }
}

TEST(FactoryPresets, BothInitProgramsHoldTheNeutralSetting) {
    EXPECT_EQ(factoryPresetValues(8), neutralValues());
    EXPECT_EQ(factoryPresetValues(9), neutralValues());
}

TEST(FactoryPresets, StereoDelayChangesExactlyThirtyNeutralValues) {
    const std::vector<GivenValue> changed = {
        {fDryWetMix, 0.340533f},     {fSyncBPM, 0.0f},
        {line(0, Delay), 0.25f},     {line(0, Damp), 1.0f},
        {feedback(0, 0), 0.775205f}, {feedback(0, 2), 0.78f},
        {line(0, OutV), 1.0f},       {line(1, Delay), 0.1875f},
        {line(1, Damp), 1.0f},       {feedback(1, 1), 0.775921f},
        {feedback(1, 3), 0.776667f}, {line(1, OutV), 1.0f},
        {line(2, Delay), 0.375f},    {line(2, Damp), 1.0f},
        {feedback(2, 0), 0.543333f}, {feedback(2, 2), 0.666667f},
        {line(2, OutV), 0.992685f},  {line(2, OutLR), 0.333333f},
        {line(3, Damp), 1.0f},       {feedback(3, 1), 0.546667f},
        {feedback(3, 3), 0.653333f}, {line(3, OutV), 1.0f},
        {line(3, OutLR), 0.673431f}, {lfo(0, LfoRate), 0.0f},
        {lfo(1, LfoRate), 0.0f},     {fStep0, 0.5f},
        {fStep0 + 4, 0.5f},          {fStep0 + 8, 0.5f},
        {fStep0 + 12, 0.5f},         {fStepTime, 0.0f}};
    ParameterValues expected = neutralValues();
    for (const GivenValue& given : changed) {
        expected[given.index] = given.value;
    }
    EXPECT_EQ(factoryPresetValues(kStereoDelay), expected);
}

// The character every preset keeps: one row per key, one column per preset 1..7.
struct CharacterRow {
    int index;
    float values[7];
};

const CharacterRow kCharacter[] = {
    {fDryWetMix, {0.34f, 0.812183f, 1, 0.833333f, 0.755417f, 1, 0.5f}},
    {fFeedbackLimit, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.907345f}},
    {fSyncBPM, {0, 0, 0, 0, 0, 0.453516f, 0.453125f}},
    {fRouting, {0.788538f, 0, 0, 1, 0.265f, 0.265f, 0.666667f}},
    {line(0, Delay), {0.25f, 0.375f, 0.0625f, 0.012f, 0, 0, 0}},
    {line(1, Delay), {0.1875f, 0.25f, 0.1875f, 0.0135f, 0, 0, 0.0005f}},
    {line(2, Delay), {0.0625f, 0.125f, 0.0625f, 0.0115f, 0.187f, 0.187f, 0.375f}},
    {line(3, Delay), {0.125f, 0.5f, 0.0125f, 0.0125f, 0.187f, 0.187f, 0.25f}},
    {line(0, Filt), {0.5f, 0.252587f, 0.344492f, 0.309851f, 0.291f, 0.291f, 0.363445f}},
    {line(1, Filt), {0.5f, 0.319207f, 0.352572f, 0.298288f, 0.281f, 0.281f, 0.274276f}},
    {line(2, Filt), {0.854484f, 0.281347f, 0.344492f, 0.344492f, 0.781347f, 0, 0.598389f}},
    {line(3, Filt), {0.833333f, 0.265056f, 0.401611f, 0.401611f, 0.774276f, 0, 0.666667f}},
    {lfo(0, LfoWave), {0, 0, 1, 0, 1, 1, 0}},
    {lfo(0, LfoRate), {0, 1, 0.759322f, 0.833333f, 1, 1, 0.5f}},
    {lfo(0, LfoDest0), {0, 0.196778f, 0.352572f, 0.228516f, 0.363f, 0.363f, 0}},
    {lfo(1, LfoWave), {0, 0, 0, 0, 1, 1, 0}},
    {lfo(1, LfoRate), {0, 0, 0.833333f, 0, 0.291445f, 0.187f, 0.5f}},
    {lfo(1, LfoDest0), {0, 0, 0.666667f, 0, 0.201f, 0.201f, 0}},
    {fStepTime, {0.300101f, 0.785205f, 0.333333f, 0.085921f, 0.076133f, 0.033f, 0.423866f}},
    {fBlend, {0.247413f, 1, 1, 0.100264f, 0.5f, 0.193f, 0.5f}},
    {fStepDest0, {0.778032f, 0.368379f, 0.239459f, 0.523482f, 0.541f, 0.541f, 0.314095f}},
    {fStepDest1, {0, 0, 0, 0.716268f, 0, 0, 0.234944f}},
};

TEST(FactoryPresets, PresetsKeepTheirCharacteristicValues) {
    for (int slot = kOffbeatDelay; slot < kFactoryPresets; ++slot) {
        const ParameterValues values = factoryPresetValues(slot);
        for (const CharacterRow& row : kCharacter) {
            EXPECT_EQ(values[row.index], row.values[slot - 1])
                << factoryPresetName(slot) << ", " << parameterInfo(row.index).name;
        }
    }
}

TEST(FactoryPresets, AllProgramsShareTheFixedSettings) {
    std::vector<GivenValue> fixed = {
        {fCompSense, 0},      {line(0, InLR), 0},    {line(2, InLR), 0},    {lfo(0, LfoPhse), 0},
        {lfo(1, LfoPhse), 0}, {lfo(0, LfoDest1), 0}, {lfo(1, LfoDest1), 0}, {fStepShift, 0},
        {line(1, InLR), 1},   {line(3, InLR), 1},    {fNumSteps, 1}};
    for (int k = 0; k < kNumLfos; ++k) {
        for (int i = 0; i < kNumLines; ++i) {
            fixed.push_back({lfoAmount(k, 1, i), 0.5f});
        }
    }
    for (int slot = 0; slot < kNumPrograms; ++slot) {
        const ParameterValues values = factoryPresetValues(slot);
        for (const GivenValue& given : fixed) {
            EXPECT_EQ(values[given.index], given.value)
                << factoryPresetName(slot) << ", " << parameterInfo(given.index).name;
        }
    }
}

TEST(FactoryPresets, OffbeatDelayFeedsBackLikeStereoDelayAndSendsOnTheOffbeats) {
    const ParameterValues values = factoryPresetValues(kOffbeatDelay);
    const GivenValue given[] = {{11, 0.775f},       {13, 0.779f},      {24, 0.775f}, {26, 0.776f},
                                {35, 0.543f},       {37, 0.666f},      {48, 0.546f}, {50, 0.653f},
                                {line(0, Damp), 0}, {line(1, Damp), 0}};
    for (const GivenValue& value : given) {
        EXPECT_EQ(values[value.index], value.value) << parameterInfo(value.index).name;
    }
    for (int s = 0; s < kNumSteps; ++s) {
        EXPECT_EQ(values[fStep0 + s], s % 2 == 0 ? 0.0f : 1.0f) << "step " << s;
    }
}

TEST(FactoryPresets, HexlerAndHacktrackShareDelaysCombFiltersAndPattern) {
    const ParameterValues hexler = factoryPresetValues(kHexler);
    const ParameterValues hacktrack = factoryPresetValues(kHacktrack);
    std::vector<int> shared = {fStepDest0};
    for (int i = 0; i < kNumLines; ++i) {
        shared.push_back(line(i, Delay));
    }
    for (int i = 0; i < 2; ++i) {
        for (const int offset : {Filt, Freq, Res}) {
            shared.push_back(line(i, offset));
        }
    }
    for (const int index : shared) {
        EXPECT_EQ(hexler[index], hacktrack[index]) << parameterInfo(index).name;
    }
    const bool pattern[kNumSteps] = {1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 1, 0};
    for (int s = 0; s < kNumSteps; ++s) {
        EXPECT_EQ(hexler[fStep0 + s], pattern[s] ? 1.0f : 0.0f) << "step " << s;
        EXPECT_EQ(hacktrack[fStep0 + s], hexler[fStep0 + s]) << "step " << s;
    }
}

TEST(ProgramSlot, StartsAsInitWithZeros) {
    const ProgramSlot slot;
    EXPECT_STREQ(slot.name(), "Init");
    for (int index = 0; index < kNumParameters; ++index) {
        EXPECT_EQ(slot.getParam(index), 0.0f) << index;
    }
}

TEST(ProgramSlot, KeepsTwentyThreeCharactersOfAnOverlongName) {
    ProgramSlot slot;
    slot.setName("a name far longer than any host allows");
    EXPECT_EQ(std::string(slot.name()), "a name far longer than ");
    slot.setName(nullptr);
    EXPECT_EQ(std::string(slot.name()), "a name far longer than ");
    slot.setName(slot.name() + 2); // its own tail
    EXPECT_EQ(std::string(slot.name()), "name far longer than ");
}

TEST(ProgramSlot, IgnoresIndicesOutsideTheParameters) {
    ProgramSlot slot;
    slot.setParam(kNumParameters - 1, 0.75f);
    slot.setParam(kNumParameters, 0.5f);
    slot.setParam(-1, 0.5f);
    EXPECT_EQ(slot.getParam(kNumParameters - 1), 0.75f);
    EXPECT_EQ(slot.getParam(kNumParameters), 0.0f);
    EXPECT_EQ(slot.getParam(-1), 0.0f);
}

} // namespace
