// How the base dispatcher hands opcodes and their arguments to the effect's operations.
#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

VstIntPtr dispatch(EffectBase& effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f) {
    return effect.dispatch(opcode, index, value, ptr, opt);
}

TEST(Dispatcher, SetProgramSelectsOnlyExistingPrograms) {
    MinimalEffect effect(nullptr);
    EXPECT_EQ(dispatch(effect, effSetProgram, 0, 9), 0);
    EXPECT_EQ(dispatch(effect, effGetProgram), 9);
    const VstIntPtr outside[] = {10, -1, std::numeric_limits<VstInt32>::min(),
                                 static_cast<VstIntPtr>(std::numeric_limits<std::intptr_t>::max())};
    for (VstIntPtr program : outside) {
        EXPECT_EQ(dispatch(effect, effSetProgram, 0, program), 0);
        EXPECT_EQ(dispatch(effect, effGetProgram), 9) << program;
    }
}

TEST(Dispatcher, MainsChangedSuspendsOnZeroAndResumesOnAnyOtherValue) {
    ProbeEffect effect(nullptr);
    dispatch(effect, effMainsChanged, 0, 0);
    EXPECT_EQ(effect.suspendCalls, 1);
    EXPECT_EQ(effect.resumeCalls, 0);
    for (VstIntPtr on : {1, 5, -1}) {
        EXPECT_EQ(dispatch(effect, effMainsChanged, 0, on), 0);
    }
    EXPECT_EQ(effect.suspendCalls, 1);
    EXPECT_EQ(effect.resumeCalls, 3);
}

TEST(Dispatcher, SampleRateComesFromOptAndBlockSizeFromValue) {
    MinimalEffect effect(nullptr);
    EXPECT_EQ(dispatch(effect, effSetSampleRate, 7, 9, nullptr, 96000.0f), 0);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(dispatch(effect, effSetBlockSize, 7, 512, nullptr, 22050.0f), 0);
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(dispatch(effect, effSetBlockSizeAndSampleRate, 0, 64, nullptr, 32000.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 64);
    EXPECT_EQ(effect.getSampleRate(), 32000.0f);
}

TEST(Dispatcher, OversizedBlockSizesSaturateInsteadOfWrapping) {
    MinimalEffect effect(nullptr);
    if (sizeof(VstIntPtr) > sizeof(VstInt32)) {
        dispatch(effect, effSetBlockSize, 0, static_cast<VstIntPtr>(INT64_C(0x100000040)));
        EXPECT_EQ(effect.getBlockSize(), std::numeric_limits<VstInt32>::max());
    }
}

TEST(Dispatcher, VuIsScaledTo32767AndTruncatedTowardZero) {
    struct VuCase {
        float vu;
        VstIntPtr expected;
    };
    const VuCase cases[] = {
        {0.0f, 0},
        {1.0f, 32767},
        {0.5f, 16383},
        {-0.25f, -8191},
        {kNaN, 0},
        {1e30f, std::numeric_limits<VstInt32>::max()},
        {-1e30f, std::numeric_limits<VstInt32>::min()},
    };
    ProbeEffect effect(nullptr);
    for (const VuCase& vuCase : cases) {
        effect.vu = vuCase.vu;
        EXPECT_EQ(dispatch(effect, effGetVu), vuCase.expected) << vuCase.vu;
    }
}

TEST(Dispatcher, ChunkRequestsPassIndexAsPresetFlagAndValueAsSize) {
    ProbeEffect effect(nullptr);
    void* data = nullptr;
    EXPECT_EQ(dispatch(effect, effGetChunk, 1, 0, &data), 7);
    EXPECT_TRUE(effect.chunkIsPreset);
    EXPECT_EQ(dispatch(effect, effGetChunk, 0, 0, &data), 7);
    EXPECT_FALSE(effect.chunkIsPreset);
    EXPECT_EQ(dispatch(effect, effGetChunk, 1, 0, nullptr), 0);
    EXPECT_EQ(dispatch(effect, effSetChunk, 2, 300, &data), 9);
    EXPECT_TRUE(effect.chunkIsPreset);
    EXPECT_EQ(effect.chunkByteSize, 300);
}

TEST(Dispatcher, EditorOpcodesReachTheRegisteredEditor) {
    MinimalEffect effect(nullptr);
    FakeEditor editor;
    effect.setEditor(&editor);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &editor.rectangle);
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, nullptr), 0);
    int window = 0;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &window), 1);
    EXPECT_EQ(editor.openedIn, &window);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
    EXPECT_EQ(editor.idleCalls, 2);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_EQ(editor.closeCalls, 1);
    effect.setEditor(nullptr);
}

TEST(Dispatcher, EditorOpcodesWithoutEditorDoNothingAndAnswerZero) {
    MinimalEffect effect(nullptr);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &rect), 0);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
}

TEST(Dispatcher, CloseReachesTheEffectWithoutDestroyingIt) {
    ProbeEffect effect(nullptr);
    EXPECT_EQ(dispatch(effect, effClose), 0);
    EXPECT_EQ(effect.closeCalls, 1);
}

TEST(Dispatcher, IndexedProgramNamePassesValueAsCategoryAndIndexAsProgram) {
    ProbeEffect effect(nullptr);
    char text[32] = {};
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 4, 2, text), 1);
    EXPECT_EQ(effect.indexedCategory, 2);
    EXPECT_EQ(effect.indexedProgram, 4);
    EXPECT_STREQ(text, "named");
}

TEST(Dispatcher, IndexedProgramNameOutsideTheProgramsWritesNothingAndAnswersOne) {
    ProbeEffect effect(nullptr);
    for (VstInt32 index : {-1, 10, std::numeric_limits<VstInt32>::min()}) {
        char text[32] = "untouched";
        EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, index, 0, text), 1) << index;
        EXPECT_STREQ(text, "untouched");
    }
    EXPECT_EQ(effect.indexedProgram, -1);
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 0, 0, nullptr), 0);
    EXPECT_EQ(effect.indexedProgram, -1);
}

TEST(Dispatcher, KeysRequiredAnswersOneWhenTheEditorNeedsNoKeys) {
    ProbeEffect effect(nullptr);
    EXPECT_EQ(dispatch(effect, effKeysRequired), 1);
    effect.wantsKeys = true;
    EXPECT_EQ(dispatch(effect, effKeysRequired), 0);
}

TEST(Dispatcher, TextOpcodesWithoutBufferAnswerWithoutWriting) {
    // Every opcode that writes or reads a text, with the null pointer a faulty host may send.
    const VstInt32 opcodes[] = {effSetProgramName,        effGetProgramName,   effGetParamLabel,
                                effGetParamDisplay,       effGetParamName,     effString2Parameter,
                                effGetProgramNameIndexed, effGetEffectName,    effGetErrorText,
                                effGetVendorString,       effGetProductString, effCanDo};
    MinimalEffect effect(nullptr);
    for (VstInt32 opcode : opcodes) {
        EXPECT_EQ(dispatch(effect, opcode), 0) << opcode;
    }
}

TEST(Dispatcher, UnknownOpcodesAnswerZero) {
    MinimalEffect effect(nullptr);
    for (VstInt32 opcode : {-1, 59, 60, 1000, std::numeric_limits<VstInt32>::max()}) {
        EXPECT_EQ(dispatch(effect, opcode, 1, 1, nullptr, 1.0f), 0) << opcode;
    }
}

} // namespace
