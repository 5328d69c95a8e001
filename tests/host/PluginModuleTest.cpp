// The built module as a host sees it: its entry point, the record it answers and its life
// until effClose. Compiles for Windows too (no POSIX calls).
#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

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
    // Mono and replacing processing; an editor where it opens in the host's window.
#if defined(VELTRANE_MODULE_WITHOUT_EDITOR)
    EXPECT_EQ(record->flags, effFlagsCanMono | effFlagsCanReplacing);
#else
    EXPECT_EQ(record->flags, effFlagsHasEditor | effFlagsCanMono | effFlagsCanReplacing);
#endif
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

TEST_F(PluginModule, MainsChangedZeroSuspendsAndAnyOtherValueResumes) {
    // Switching on starts the song position afresh; switching off leaves it where it is.
    constexpr VstInt32 kQuerySongPosition = 1100;
    harness.answerTime = true;
    harness.timeInfo.ppqPos = 16.0;
    harness.timeInfo.tempo = 120.0;
    harness.timeInfo.sampleRate = 44100.0;
    harness.timeInfo.flags = kVstPpqPosValid | kVstTempoValid;
    ASSERT_NE(harness.open(), nullptr);
    harness.start(44100.0f, 512);
    std::vector<float> left(512, 0.1f), right(512, 0.1f), outLeft(512), outRight(512);
    harness.processReplacing(left, right, outLeft, outRight);
    const float position = harness.getParameter(kQuerySongPosition);
    ASSERT_GT(position, 0.0f);

    EXPECT_EQ(harness.dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_EQ(harness.getParameter(kQuerySongPosition), position);
    EXPECT_EQ(harness.dispatch(effMainsChanged, 0, 5), 0);
    EXPECT_EQ(harness.getParameter(kQuerySongPosition), 0.0f);
}

TEST_F(PluginModule, AClosedEffectCanBeFollowedByANewOne) {
    ASSERT_NE(harness.open(), nullptr);
    harness.setParameter(0, 0.125f);
    harness.close();
    ASSERT_NE(harness.open(), nullptr);
    EXPECT_EQ(harness.dispatch(effGetProgram), 0);
}

} // namespace
