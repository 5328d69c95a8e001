// Programs, parameter write-back and display queries, as a host drives them.
#include "tests/effect/EffectHostTest.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kNumPrograms = 10;
constexpr int kNumParameters = 111;
constexpr int kDryWetMix = 0, kSyncBpm = 3, kDelay0 = 6, kDelay2 = 30, kFeedbackLimit = 1;
constexpr int kNumSteps = 98, kStepShift = 100;
constexpr int kDelayDisplay0 = 1002;

std::string indexedProgramName(PluginHarness& host, int index) {
    char text[64] = {};
    host.dispatch(effGetProgramNameIndexed, index, 0, text);
    return text;
}

void renameCurrentProgram(PluginHarness& host, const char* name) {
    std::vector<char> text(name, name + std::strlen(name) + 1);
    host.dispatch(effSetProgramName, 0, 0, text.data());
}

std::vector<float> allParameters(PluginHarness& host) {
    std::vector<float> values;
    for (int index = 0; index < kNumParameters; ++index) {
        values.push_back(host.getParameter(index));
    }
    return values;
}

// The value slot holds for index, read back by selecting the slot.
float programValue(PluginHarness& host, int slot, int index) {
    host.dispatch(effSetProgram, 0, slot);
    return host.getParameter(index);
}

// A value whose stored step, quantised once more, falls a step lower. A program that kept the
// stored value instead of the given one would move such a parameter at every program switch.
float valueLosingAStepWhenStoredTwice(int steps) {
    for (int step = 1; step < steps; ++step) {
        const float value = (step + 0.5f) / steps;
        if (quantised(quantised(value, steps), steps) != quantised(value, steps)) {
            return value;
        }
    }
    return 0.0f;
}

using EffectPrograms = EffectHostTest;

TEST_F(EffectPrograms, RecordAnnouncesTheEffect) {
    const AEffect* effect = host.effect();
    EXPECT_EQ(effect->numPrograms, kNumPrograms);
    EXPECT_EQ(effect->numParams, kNumParameters);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->uniqueID, 0x346B3431);
    // Whether an editor exists or not, the effect mixes mono and replaces.
    EXPECT_EQ(effect->flags & ~effFlagsHasEditor, effFlagsCanMono | effFlagsCanReplacing);
    char vendor[64] = {}, product[64] = {};
    EXPECT_EQ(host.dispatch(effGetVendorString, 0, 0, vendor), 1);
    EXPECT_EQ(host.dispatch(effGetProductString, 0, 0, product), 1);
    EXPECT_STREQ(vendor, "Tolvane");
    EXPECT_STREQ(product, "veltrane");
}

TEST_F(EffectPrograms, OpensWithStereoDelayLoaded) {
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    EXPECT_EQ(host.programName(), "stereo delay");
    EXPECT_EQ(host.getParameter(kDryWetMix), 0.340533f);
    EXPECT_EQ(host.getParameter(kSyncBpm), 0.0f);
    EXPECT_EQ(host.getParameter(kDelay0), quantised(0.25f, 2000));
    EXPECT_EQ(host.getParameter(18), quantised(0.1875f, 2000));
    EXPECT_EQ(host.getParameter(11), 0.775205f);
    EXPECT_EQ(host.getParameter(52), 0.673431f);
    EXPECT_EQ(host.getParameter(29), 0.0f); // fInLR_2 keeps its neutral value
    EXPECT_EQ(host.getParameter(kNumSteps), 1.0f);
    // Loading program 0 again changes nothing.
    const std::vector<float> opened = allParameters(host);
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(allParameters(host), opened);
}

TEST_F(EffectPrograms, EveryProgramLoadsItsNameAndCharacter) {
    const struct {
        const char* name;
        float dryWet;
        float delays[4];
    } programs[kNumPrograms] = {
        {"stereo delay", 0.340533f, {0.25f, 0.1875f, 0.375f, 0.5f}},
        {"offbeat delay", 0.34f, {0.25f, 0.1875f, 0.0625f, 0.125f}},
        {"pad makeup", 0.812183f, {0.375f, 0.25f, 0.125f, 0.5f}},
        {"loop bubbler", 1.0f, {0.0625f, 0.1875f, 0.0625f, 0.0125f}},
        {"stereo scambler", 0.833333f, {0.012f, 0.0135f, 0.0115f, 0.0125f}},
        {"hexler", 0.755417f, {0.0f, 0.0f, 0.187f, 0.187f}},
        {"hacktrack", 1.0f, {0.0f, 0.0f, 0.187f, 0.187f}},
        {"dirty echo", 0.5f, {0.0f, 0.0005f, 0.375f, 0.25f}},
        {"init", 0.5f, {0.5f, 0.5f, 0.5f, 0.5f}},
        {"init", 0.5f, {0.5f, 0.5f, 0.5f, 0.5f}},
    };
    for (int slot = 0; slot < kNumPrograms; ++slot) {
        EXPECT_EQ(indexedProgramName(host, slot), programs[slot].name);
        host.dispatch(effSetProgram, 0, slot);
        EXPECT_EQ(host.dispatch(effGetProgram), slot);
        EXPECT_EQ(host.programName(), programs[slot].name);
        EXPECT_EQ(host.getParameter(kDryWetMix), programs[slot].dryWet) << slot;
        for (int line = 0; line < 4; ++line) {
            EXPECT_EQ(host.getParameter(kDelay0 + 12 * line),
                      quantised(programs[slot].delays[line], 2000))
                << programs[slot].name << " line " << line;
        }
    }
}

TEST_F(EffectPrograms, ProgramsNamedInitReadWithTheirNumber) {
    host.dispatch(effSetProgram, 0, 4);
    renameCurrentProgram(host, "Init");
    EXPECT_EQ(host.programName(), "Init 5");
    EXPECT_EQ(indexedProgramName(host, 4), "Init");
    host.dispatch(effSetProgram, 0, 9);
    renameCurrentProgram(host, "Init");
    EXPECT_EQ(host.programName(), "Init 10");
    // Only the exact name counts.
    for (const char* name : {"init", "INIT", "Init ", "Initial", ""}) {
        renameCurrentProgram(host, name);
        EXPECT_EQ(host.programName(), name);
    }
}

TEST_F(EffectPrograms, RenamingKeepsTwentyThreeCharactersWithinTheHostsBuffer) {
    host.dispatch(effSetProgram, 0, 3);
    renameCurrentProgram(host, "a program name far beyond what hosts allow");
    const std::string kept = "a program name far beyo";
    ASSERT_EQ(kept.size(), 23u);
    // Exactly the 24 bytes hosts give; the guard bytes after them must stay untouched.
    char text[kVstMaxProgNameLen + 8];
    std::memset(text, '#', sizeof text);
    host.dispatch(effGetProgramName, 0, 0, text);
    EXPECT_EQ(std::string(text), kept);
    EXPECT_EQ(std::string(text + kVstMaxProgNameLen, 8), std::string(8, '#'));
    EXPECT_EQ(indexedProgramName(host, 3), kept);
    // The other programs keep their names.
    EXPECT_EQ(indexedProgramName(host, 2), "pad makeup");
}

TEST_F(EffectPrograms, ProgramNumbersOutsideTheSlotsChangeAndWriteNothing) {
    host.dispatch(effSetProgram, 0, 2);
    const std::vector<float> before = allParameters(host);
    for (const VstIntPtr program : {VstIntPtr{10}, VstIntPtr{-1}, VstIntPtr{1000}}) {
        host.dispatch(effSetProgram, 0, program);
        EXPECT_EQ(host.dispatch(effGetProgram), 2) << program;
    }
    EXPECT_EQ(allParameters(host), before);
    for (const VstInt32 index : {10, -1, 1000}) {
        char text[64];
        std::memset(text, '#', sizeof text);
        EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, index, 0, text), 1) << index;
        EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, '#')) << index;
    }
}

TEST_F(EffectPrograms, ParameterChangesAreKeptByTheCurrentProgramOnly) {
    const float untouched = programValue(host, 5, kDryWetMix);
    host.dispatch(effSetProgram, 0, 2);
    host.setParameter(kDryWetMix, 0.7f);
    host.setParameter(kFeedbackLimit, 0.123f);
    EXPECT_EQ(programValue(host, 5, kDryWetMix), untouched);
    host.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(host.getParameter(kDryWetMix), 0.7f);
    EXPECT_EQ(host.getParameter(kFeedbackLimit), 0.123f);
}

TEST_F(EffectPrograms, QuantisedParametersStoreWholeStepsWhileTheProgramKeepsTheValueGiven) {
    host.setParameter(kDelay0, 0.33333f);
    EXPECT_EQ(host.getParameter(kDelay0), quantised(0.33333f, 2000));
    EXPECT_FLOAT_EQ(host.getParameter(kDelay0), 0.333f);
    EXPECT_EQ(host.getParameter(kDelayDisplay0), 666.0f);

    const struct {
        int index;
        int steps;
        float inOffbeatDelay;
    } quantisedParameters[] = {
        {kDelay0, 2000, 0.25f}, {kDelay2, 2000, 0.0625f}, {kSyncBpm, 2560, 0.0f}};
    for (const auto& parameter : quantisedParameters) {
        const float given = valueLosingAStepWhenStoredTwice(parameter.steps);
        ASSERT_NE(given, 0.0f) << parameter.index;
        host.setParameter(parameter.index, given);
        EXPECT_EQ(host.getParameter(parameter.index), quantised(given, parameter.steps));
        EXPECT_EQ(programValue(host, 1, parameter.index), parameter.inOffbeatDelay);
        EXPECT_EQ(programValue(host, 0, parameter.index), quantised(given, parameter.steps))
            << parameter.index;
    }
}

TEST_F(EffectPrograms, NotANumberIsTakenAsZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const int index : {kDryWetMix, kSyncBpm, kDelay0, 7, kNumSteps, 110}) {
        host.setParameter(index, nan);
        EXPECT_EQ(host.getParameter(index), 0.0f) << index;
        programValue(host, 1, index);
        EXPECT_EQ(programValue(host, 0, index), 0.0f) << index;
        EXPECT_EQ(host.parameterDisplay(index), index == 7 ? "  Off  " : "0.000000") << index;
    }
}

TEST_F(EffectPrograms, CommandsAndUnknownIndicesChangeNoParameterNorProgram) {
    const std::vector<float> before = allParameters(host);
    for (const VstInt32 index : {998, 999, 500, 111, -1, 1000, 1007}) {
        host.setParameter(index, 0.3f);
        EXPECT_EQ(allParameters(host), before) << index;
    }
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(allParameters(host), before);
    EXPECT_EQ(host.getParameter(500), 0.0f);
    EXPECT_EQ(host.getParameter(-1), 0.0f);
    EXPECT_EQ(host.getParameter(1008), 0.0f);
}

TEST_F(EffectPrograms, DisplayQueriesAnswerEngineQuantities) {
    host.setParameter(kDelay2, 0.4f);
    EXPECT_EQ(host.getParameter(kDelayDisplay0 + 2), 800.0f);
    host.setParameter(kDelay0, 0.0f);
    EXPECT_EQ(host.getParameter(kDelayDisplay0), 0.0f);
    host.setParameter(kSyncBpm, 0.0f);
    EXPECT_EQ(host.getParameter(1006), 0.0f); // following the host's tempo
    host.setParameter(kSyncBpm, 1.0f / 2560);
    EXPECT_FLOAT_EQ(host.getParameter(1006), 4.1f);
    host.setParameter(kFeedbackLimit, 0.5f);
    EXPECT_EQ(host.getParameter(1007), 1.0f);
    host.setParameter(kNumSteps, 1.0f);
    host.setParameter(kStepShift, 0.5f);
    EXPECT_EQ(host.getParameter(1001), 8.0f);
    EXPECT_EQ(host.getParameter(1000), 0.0f); // nothing played yet
}

} // namespace
