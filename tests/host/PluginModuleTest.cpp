// The built module as a host sees it: its entry point, the record it answers and its life
// until effClose. Compiles for Windows too (no POSIX calls).
#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class PluginModule : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(harness.loaded()) << harness.loadError(); }
    PluginHarness harness;
};

TEST_F(PluginModule, EntryPointAnswersARecordDescribingTheEffect) {
    const AEffect* record = harness.open();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 10);
    EXPECT_EQ(record->numParams, 111);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    // Mono and replacing processing; the editor flag follows whether an editor exists.
    EXPECT_EQ(record->flags & ~effFlagsHasEditor, effFlagsCanMono | effFlagsCanReplacing);
    EXPECT_EQ(record->uniqueID, 0x346B3431);
    EXPECT_EQ(record->version, 1);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->realQualities, 0);
    EXPECT_EQ(record->offQualities, 0);
    EXPECT_EQ(record->user, nullptr);
    EXPECT_NE(record->object, nullptr);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->setParameter, nullptr);
    EXPECT_NE(record->getParameter, nullptr);
    EXPECT_EQ(record->processDoubleReplacing, nullptr);
}

TEST_F(PluginModule, TheFirstRequestAsksTheHostsVersionWithoutRecord) {
    ASSERT_NE(harness.open(), nullptr);
    ASSERT_FALSE(harness.requests.empty());
    const HostRequest& first = harness.requests.front();
    EXPECT_EQ(first.opcode, audioMasterVersion);
    EXPECT_EQ(first.effect, nullptr);
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(first.value, 0);
    EXPECT_EQ(first.ptr, nullptr);
    EXPECT_EQ(first.opt, 0.0f);
}

TEST_F(PluginModule, AHostAnsweringVersionZeroGetsNoEffect) {
    harness.versionAnswer = 0;
    EXPECT_EQ(harness.open(), nullptr);
    ASSERT_EQ(harness.requests.size(), 1u);
    EXPECT_EQ(harness.requests[0].opcode, audioMasterVersion);

    harness.versionAnswer = 1;
    EXPECT_NE(harness.open(), nullptr);
}

TEST_F(PluginModule, EffCloseAnswersOne) {
    ASSERT_NE(harness.open(), nullptr);
    harness.close();
    EXPECT_EQ(harness.closeAnswer, 1);
    EXPECT_EQ(harness.effect(), nullptr);
}

TEST_F(PluginModule, EveryRequestAfterTheVersionCarriesTheEffectsRecord) {
    AEffect* record = harness.open();
    ASSERT_NE(record, nullptr);
    harness.start(44100.0f, 256);
    std::vector<float> left(256, 0.25f), right(256, -0.25f), outLeft(256), outRight(256);
    harness.processReplacing(left, right, outLeft, outRight);
    for (std::size_t i = 1; i < harness.requests.size(); ++i) {
        EXPECT_EQ(harness.requests[i].effect, record) << "request " << i;
    }
}

TEST_F(PluginModule, MainsChangedWithAnyNonZeroValueSwitchesTheEffectOn) {
    ASSERT_NE(harness.open(), nullptr);
    harness.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    harness.dispatch(effSetBlockSize, 0, 512);
    EXPECT_EQ(harness.dispatch(effMainsChanged, 0, 5), 0);
    // Switched on, the effect runs: blocks come out finite, with signal in, signal out.
    std::vector<float> left(512), right(512), outLeft(512), outRight(512);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = right[i] = std::sin(0.05f * static_cast<float>(i));
    }
    float peak = 0.0f;
    for (int block = 0; block < 8; ++block) {
        std::vector<float> inLeft = left, inRight = right;
        harness.processReplacing(inLeft, inRight, outLeft, outRight);
        for (std::size_t i = 0; i < outLeft.size(); ++i) {
            ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i]));
            peak = std::max({peak, std::fabs(outLeft[i]), std::fabs(outRight[i])});
        }
    }
    EXPECT_GT(peak, 0.0f);
    EXPECT_EQ(harness.dispatch(effMainsChanged, 0, 0), 0);
}

TEST_F(PluginModule, AClosedEffectCanBeFollowedByANewOne) {
    ASSERT_NE(harness.open(), nullptr);
    harness.setParameter(0, 0.125f);
    harness.close();
    ASSERT_NE(harness.open(), nullptr);
    EXPECT_EQ(harness.dispatch(effGetProgram), 0);
}

} // namespace
