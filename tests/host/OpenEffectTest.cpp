// The entry sequence against a stand-in effect factory, so that allocation and editor failures
// can be staged. The editor-failure flag is process-wide and never cleared: the test that sets
// it comes last.
#include "host/EntryPoint.h"
#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

namespace {

struct Factory {
    int calls = 0;
    bool failAllocation = false;
    bool failEditor = false;
    bool destroyed = false;
};
Factory factory;

EffectBase* createProbe(audioMasterCallback host) {
    ++factory.calls;
    if (factory.failAllocation) {
        return nullptr;
    }
    auto* effect = new ProbeEffect(host, &factory.destroyed);
    if (factory.failEditor) {
        setEditorFailure();
    }
    return effect;
}

class OpenEffect : public ::testing::Test {
protected:
    void SetUp() override { factory = Factory{}; }
};

TEST_F(OpenEffect, AHostAnsweringVersionZeroGetsNullAndNothingIsCreated) {
    RecordingHost::reset(0);
    EXPECT_EQ(openEffect(&RecordingHost::callback, &createProbe), nullptr);
    EXPECT_EQ(factory.calls, 0);
    ASSERT_EQ(RecordingHost::requests.size(), 1u);
    EXPECT_EQ(RecordingHost::requests[0].opcode, audioMasterVersion);
}

TEST_F(OpenEffect, NoHostCallbackGetsNull) {
    EXPECT_EQ(openEffect(nullptr, &createProbe), nullptr);
    EXPECT_EQ(factory.calls, 0);
}

TEST_F(OpenEffect, AsksTheVersionWithoutRecordThenAnswersTheNewEffectsRecord) {
    RecordingHost::reset(2400);
    AEffect* record = openEffect(&RecordingHost::callback, &createProbe);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(factory.calls, 1);
    ASSERT_GE(RecordingHost::requests.size(), 1u);
    const HostRequest& version = RecordingHost::requests[0];
    EXPECT_EQ(version.opcode, audioMasterVersion);
    EXPECT_EQ(version.effect, nullptr);
    EXPECT_EQ(version.index, 0);
    EXPECT_EQ(version.value, 0);
    EXPECT_EQ(version.ptr, nullptr);
    EXPECT_EQ(version.opt, 0.0f);
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(factory.destroyed);
}

TEST_F(OpenEffect, AFailedAllocationGetsNull) {
    RecordingHost::reset(1);
    factory.failAllocation = true;
    EXPECT_EQ(openEffect(&RecordingHost::callback, &createProbe), nullptr);
    EXPECT_EQ(factory.calls, 1);
}

TEST_F(OpenEffect, AfterAnEditorFailureTheEffectIsDestroyedAndEveryLaterCallGetsNull) {
    RecordingHost::reset(1);
    factory.failEditor = true;
    EXPECT_EQ(openEffect(&RecordingHost::callback, &createProbe), nullptr);
    EXPECT_TRUE(factory.destroyed);
    EXPECT_TRUE(editorFailure());

    factory = Factory{};
    EXPECT_EQ(openEffect(&RecordingHost::callback, &createProbe), nullptr);
    EXPECT_EQ(factory.calls, 1);
    EXPECT_TRUE(factory.destroyed);
}

} // namespace
