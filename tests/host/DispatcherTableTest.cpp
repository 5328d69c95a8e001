// Every dispatcher opcode of the built module, answered as a host expects. Compiles for
// Windows too (no POSIX calls).
#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kBufferSize = 256;
constexpr char kUntouched = '#';

struct OpcodeCase {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    VstIntPtr answer;
};

// Opcodes whose answer does not depend on an editor, with arguments a host would send. The
// pointer argument is a text buffer; see below for the null pointer. effClose is tested apart.
// clang-format off
const OpcodeCase kOpcodes[] = {
    {effOpen, 0, 0, 0.0f, 0},
    {effGetProgram, 0, 0, 0.0f, 0},
    {effSetProgram, 0, 3, 0.0f, 0},
    {effGetProgramName, 0, 0, 0.0f, 0},
    {effGetParamLabel, 0, 0, 0.0f, 0},
    {effGetParamDisplay, 0, 0, 0.0f, 0},
    {effGetParamName, 0, 0, 0.0f, 0},
    {effGetVu, 0, 0, 0.0f, 0},
    {effSetSampleRate, 0, 0, 48000.0f, 0},
    {effSetBlockSize, 0, 512, 0.0f, 0},
    {effMainsChanged, 0, 1, 0.0f, 0},
    {effMainsChanged, 0, 0, 0.0f, 0},
    {effEditDraw, 0, 0, 0.0f, 0},
    {effEditMouse, 10, 20, 0.0f, 0},
    {effEditKey, 0, 'a', 0.0f, 0},
    {effEditTop, 0, 0, 0.0f, 0},
    {effEditSleep, 0, 0, 0.0f, 0},
    {effIdentify, 0, 0, 0.0f, 0x4E764566},
    {effIdentify, 5, 7, 1.0f, 0x4E764566},
    {effGetChunk, 0, 0, 0.0f, 0},
    {effGetChunk, 1, 0, 0.0f, 0},
    {effSetChunk, 0, 16, 0.0f, 0},
    {effProcessEvents, 0, 0, 0.0f, 0},
    {effCanBeAutomated, 0, 0, 0.0f, 1},
    {effCanBeAutomated, 110, 0, 0.0f, 1},
    {effCanBeAutomated, 5000, 0, 0.0f, 1},
    {effString2Parameter, 0, 0, 0.0f, 0},
    {effGetNumProgramCategories, 0, 0, 0.0f, 1},
    {effGetProgramNameIndexed, 0, 0, 0.0f, 1},
    {effCopyProgram, 1, 0, 0.0f, 0},
    {effConnectInput, 0, 1, 0.0f, 1},
    {effConnectOutput, 1, 0, 0.0f, 1},
    {effGetInputProperties, 0, 0, 0.0f, 0},
    {effGetOutputProperties, 0, 0, 0.0f, 0},
    {effGetPlugCategory, 0, 0, 0.0f, 0},
    {effGetCurrentPosition, 0, 0, 0.0f, 0},
    {effGetDestinationBuffer, 0, 0, 0.0f, 0},
    {effOfflineNotify, 1, 1, 0.0f, 0},
    {effOfflinePrepare, 0, 1, 0.0f, 0},
    {effOfflineRun, 0, 1, 0.0f, 0},
    {effProcessVarIo, 0, 0, 0.0f, 0},
    {effSetSpeakerArrangement, 0, 0, 0.0f, 0},
    {effSetBlockSizeAndSampleRate, 0, 256, 44100.0f, 1},
    {effSetBypass, 0, 1, 0.0f, 0},
    {effGetEffectName, 0, 0, 0.0f, 0},
    {effGetErrorText, 0, 0, 0.0f, 0},
    {effGetVendorString, 0, 0, 0.0f, 1},
    {effGetProductString, 0, 0, 0.0f, 1},
    {effGetVendorVersion, 0, 0, 0.0f, 0},
    {effVendorSpecific, 1, 2, 3.0f, 0},
    {effCanDo, 0, 0, 0.0f, 0},
    {effGetTailSize, 0, 0, 0.0f, 0},
    {effIdle, 0, 0, 0.0f, 0},
    {effGetIcon, 0, 0, 0.0f, 0},
    {effSetViewPosition, 10, 10, 0.0f, 0},
    {effGetParameterProperties, 0, 0, 0.0f, 0},
    {effKeysRequired, 0, 0, 0.0f, 1},
    {effGetVstVersion, 0, 0, 0.0f, 2},
    // Beyond the table and below it.
    {59, 0, 0, 0.0f, 0},
    {60, 1, 1, 1.0f, 0},
    {1000, 0, 0, 0.0f, 0},
    {-1, 0, 0, 0.0f, 0},
    {std::numeric_limits<VstInt32>::max(), 0, 0, 0.0f, 0},
};
// clang-format on

class DispatcherTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(harness.loaded()) << harness.loadError();
        ASSERT_NE(harness.open(), nullptr);
    }
    bool hasEditor() const { return (harness.effect()->flags & effFlagsHasEditor) != 0; }

    PluginHarness harness;
};

TEST_F(DispatcherTable, EveryOpcodeGivesItsAnswer) {
    for (const OpcodeCase& entry : kOpcodes) {
        SCOPED_TRACE(testing::Message() << "opcode " << entry.opcode << " index " << entry.index);
        // A zeroed buffer reads as an empty text where one is expected (effCanDo, the name).
        alignas(8) char buffer[kBufferSize] = {};
        EXPECT_EQ(harness.dispatch(entry.opcode, entry.index, entry.value, buffer, entry.opt),
                  entry.answer);
    }
}

TEST_F(DispatcherTable, EveryOpcodeToleratesANullPointer) {
    for (const OpcodeCase& entry : kOpcodes) {
        SCOPED_TRACE(testing::Message() << "opcode " << entry.opcode);
        const VstIntPtr answer =
            harness.dispatch(entry.opcode, entry.index, entry.value, nullptr, entry.opt);
        // Without a buffer the texts cannot be written, and say so.
        const bool writesText = entry.opcode == effGetVendorString ||
                                entry.opcode == effGetProductString ||
                                entry.opcode == effGetProgramNameIndexed;
        EXPECT_EQ(answer, writesText ? 0 : entry.answer);
    }
}

TEST_F(DispatcherTable, EditorOpcodesWithoutEditorAnswerZero) {
    if (hasEditor()) {
        GTEST_SKIP() << "this build has an editor; its opcodes are tested with the editor";
    }
    ERect* rect = nullptr;
    EXPECT_EQ(harness.dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr);
    EXPECT_EQ(harness.dispatch(effEditOpen), 0);
    // A Linux host's window is an X11 id, nothing this module could draw into.
    void* const x11Window = reinterpret_cast<void*>(std::uintptr_t{0x3a00007});
    EXPECT_EQ(harness.dispatch(effEditOpen, 0, 0, x11Window), 0);
    EXPECT_EQ(harness.dispatch(effEditIdle), 0);
    EXPECT_EQ(harness.dispatch(effEditClose), 0);
}

TEST_F(DispatcherTable, TheEditorGivesItsRectangle) {
    if (!hasEditor()) {
        GTEST_SKIP() << "this build has no editor";
    }
    ERect* rect = nullptr;
    EXPECT_EQ(harness.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 752);
    EXPECT_EQ(rect->bottom - rect->top, 512);
}

std::string textOf(const char* buffer) {
    return std::string(buffer, std::find(buffer, buffer + kBufferSize, '\0'));
}

TEST_F(DispatcherTable, VendorAndProductStringsAreWritten) {
    char vendor[kBufferSize];
    char product[kBufferSize];
    std::memset(vendor, kUntouched, sizeof vendor);
    std::memset(product, kUntouched, sizeof product);
    EXPECT_EQ(harness.dispatch(effGetVendorString, 0, 0, vendor), 1);
    EXPECT_EQ(harness.dispatch(effGetProductString, 0, 0, product), 1);
    EXPECT_EQ(textOf(vendor), "Tolvane");
    EXPECT_EQ(textOf(product), "veltrane");
}

TEST_F(DispatcherTable, EffectNameIsNotWritten) {
    char name[kBufferSize];
    std::memset(name, kUntouched, sizeof name);
    EXPECT_EQ(harness.dispatch(effGetEffectName, 0, 0, name), 0);
    for (char byte : name) {
        ASSERT_EQ(byte, kUntouched);
    }
}

TEST_F(DispatcherTable, CanDoAnswersZeroForEveryCapability) {
    for (const char* capability : {"sendVstEvents", "receiveVstEvents", "receiveVstTimeInfo",
                                   "plugAsChannelInsert", "bypass", "", "no such thing"}) {
        std::string text = capability;
        EXPECT_EQ(harness.dispatch(effCanDo, 0, 0, text.data()), 0) << capability;
    }
}

TEST_F(DispatcherTable, SetProgramIgnoresNumbersOutsideTheTenPrograms) {
    EXPECT_EQ(harness.dispatch(effSetProgram, 0, 4), 0);
    const VstIntPtr outside[] = {10, 11, -1, std::numeric_limits<VstInt32>::min(),
                                 std::numeric_limits<VstIntPtr>::max()};
    for (VstIntPtr program : outside) {
        EXPECT_EQ(harness.dispatch(effSetProgram, 0, program), 0);
        EXPECT_EQ(harness.dispatch(effGetProgram), 4) << program;
    }
    EXPECT_EQ(harness.dispatch(effSetProgram, 0, 9), 0);
    EXPECT_EQ(harness.dispatch(effGetProgram), 9);
}

TEST_F(DispatcherTable, IndexedProgramNamesOutsideTheProgramsWriteNothingAndAnswerOne) {
    for (VstInt32 index : {10, 11, -1, std::numeric_limits<VstInt32>::min()}) {
        char name[kBufferSize];
        std::memset(name, kUntouched, sizeof name);
        EXPECT_EQ(harness.dispatch(effGetProgramNameIndexed, index, 0, name), 1) << index;
        for (char byte : name) {
            ASSERT_EQ(byte, kUntouched) << index;
        }
    }
}

TEST_F(DispatcherTable, IndexedProgramNamesFitTheHostsProgramNameBuffer) {
    for (VstInt32 index = 0; index < 10; ++index) {
        char name[kBufferSize];
        std::memset(name, kUntouched, sizeof name);
        EXPECT_EQ(harness.dispatch(effGetProgramNameIndexed, index, 0, name), 1);
        const void* end = std::memchr(name, '\0', kVstMaxProgNameLen);
        ASSERT_NE(end, nullptr) << "program " << index << " name longer than 23 characters";
        for (int i = kVstMaxProgNameLen; i < kBufferSize; ++i) {
            ASSERT_EQ(name[i], kUntouched) << "program " << index;
        }
    }
}

TEST_F(DispatcherTable, OddSampleRatesAndBlockSizesLeaveTheEffectWorking) {
    const float rates[] = {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(), 1.0f};
    for (float rate : rates) {
        EXPECT_EQ(harness.dispatch(effSetSampleRate, 0, 0, nullptr, rate), 0);
        EXPECT_EQ(harness.dispatch(effSetBlockSizeAndSampleRate, 0, -5, nullptr, rate), 1);
    }
    EXPECT_EQ(harness.dispatch(effSetBlockSize, 0, -5), 0);
    EXPECT_EQ(harness.dispatch(effMainsChanged, 0, 1), 0);
    std::vector<float> left(100, 0.5f), right(100, -0.5f), outLeft(100), outRight(100);
    harness.processReplacing(left, right, outLeft, outRight);
    for (std::size_t i = 0; i < outLeft.size(); ++i) {
        ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i])) << i;
    }
}

} // namespace
