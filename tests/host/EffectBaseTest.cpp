#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(EffectBase, ConstructionFillsTheRecordWithCountsAndProvisionalIdentity) {
    MinimalEffect effect(&RecordingHost::callback);
    const AEffect& record = *effect.getAeffect();

    EXPECT_EQ(record.magic, 0x56737450);
    EXPECT_EQ(record.numPrograms, 10);
    EXPECT_EQ(record.numParams, 111);
    EXPECT_EQ(record.numInputs, 1);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.flags, 0);
    EXPECT_EQ(record.uniqueID, fourCharacterCode('N', 'o', 'E', 'f'));
    EXPECT_EQ(record.version, 1);
    EXPECT_EQ(record.ioRatio, 1.0f);
    EXPECT_EQ(record.object, static_cast<EffectBase*>(&effect));
    EXPECT_EQ(record.user, nullptr);
    EXPECT_EQ(record.initialDelay, 0);
    EXPECT_EQ(record.realQualities, 0);
    EXPECT_EQ(record.offQualities, 0);
    EXPECT_EQ(record.resvd1, 0);
    EXPECT_EQ(record.resvd2, 0);
    EXPECT_NE(record.dispatcher, nullptr);
    EXPECT_NE(record.process, nullptr);
    EXPECT_NE(record.processReplacing, nullptr);
    EXPECT_NE(record.setParameter, nullptr);
    EXPECT_NE(record.getParameter, nullptr);
    EXPECT_EQ(record.processDoubleReplacing, nullptr);
    for (char byte : record.future) {
        EXPECT_EQ(byte, 0);
    }
}

TEST(EffectBase, StartsWithProgramZeroBlockSize1024AndAStandInSampleRate) {
    MinimalEffect effect(&RecordingHost::callback);
    EXPECT_EQ(effect.getProgram(), 0);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_EQ(effect.hostCallback, &RecordingHost::callback);
}

TEST(EffectBase, DefaultOperationsAnswerZeroAndWriteEmptyTexts) {
    MinimalEffect effect(&RecordingHost::callback);
    EXPECT_EQ(effect.getParameter(5), 0.0f);
    EXPECT_EQ(effect.getVu(), 0.0f);
    void* data = nullptr;
    EXPECT_EQ(effect.getChunk(&data, true), 0);
    EXPECT_EQ(effect.setChunk(nullptr, 10, false), 0);

    char text[16];
    std::strcpy(text, "old");
    effect.setProgramName(text);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "old");
    effect.getProgramName(text);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "old");
    effect.getParameterLabel(0, text);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "old");
    effect.getParameterDisplay(0, text);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "old");
    effect.getParameterName(0, text);
    EXPECT_STREQ(text, "");

    effect.setProgram(7);
    EXPECT_EQ(effect.getProgram(), 7);
}

TEST(EffectBase, FlagOperationsSetAndClearOnlyTheirOwnBit) {
    struct FlagCase {
        const char* operation;
        void (*set)(ExtendedEffectBase&, bool);
        VstInt32 bit;
    };
    const FlagCase cases[] = {
        {"hasVu", [](ExtendedEffectBase& e, bool s) { e.hasVu(s); }, 4},
        {"hasClip", [](ExtendedEffectBase& e, bool s) { e.hasClip(s); }, 2},
        {"canMono", [](ExtendedEffectBase& e, bool s) { e.canMono(s); }, 8},
        {"canProcessReplacing", [](ExtendedEffectBase& e, bool s) { e.canProcessReplacing(s); },
         16},
        {"programsAreChunks", [](ExtendedEffectBase& e, bool s) { e.programsAreChunks(s); }, 32},
        {"setIsSynth", [](ExtendedEffectBase& e, bool s) { e.setIsSynth(s); }, 256},
        {"setNoSoundInStop", [](ExtendedEffectBase& e, bool s) { e.setNoSoundInStop(s); }, 512},
        {"setExtIsAsync", [](ExtendedEffectBase& e, bool s) { e.setExtIsAsync(s); }, 1024},
        {"setExtHasBuffer", [](ExtendedEffectBase& e, bool s) { e.setExtHasBuffer(s); }, 2048},
    };
    for (const FlagCase& flagCase : cases) {
        SCOPED_TRACE(flagCase.operation);
        MinimalEffect effect(nullptr);
        AEffect& record = *effect.getAeffect();
        record.flags = 0x40; // an unrelated bit that must survive
        flagCase.set(effect, true);
        EXPECT_EQ(record.flags, 0x40 | flagCase.bit);
        flagCase.set(effect, true);
        EXPECT_EQ(record.flags, 0x40 | flagCase.bit);
        flagCase.set(effect, false);
        EXPECT_EQ(record.flags, 0x40);
    }
}

TEST(EffectBase, FieldSettersStoreIntoTheRecord) {
    MinimalEffect effect(nullptr);
    effect.setUniqueId(fourCharacterCode('4', 'k', '4', '1'));
    effect.setNumInputs(2);
    effect.setNumOutputs(6);
    effect.setInitialDelay(128);
    effect.setRealtimeQualities(3);
    effect.setOfflineQualities(4);
    const AEffect& record = *effect.getAeffect();
    EXPECT_EQ(record.uniqueID, 0x346B3431);
    EXPECT_EQ(record.numInputs, 2);
    EXPECT_EQ(record.numOutputs, 6);
    EXPECT_EQ(record.initialDelay, 128);
    EXPECT_EQ(record.realQualities, 3);
    EXPECT_EQ(record.offQualities, 4);
}

TEST(EffectBase, PlugCategoryIsSynthOnlyWhileTheSynthFlagIsSet) {
    MinimalEffect effect(nullptr);
    EXPECT_EQ(effect.getPlugCategory(), 0);
    effect.setIsSynth(true);
    EXPECT_EQ(effect.getPlugCategory(), 2);
    EXPECT_EQ(effect.dispatch(effGetPlugCategory, 0, 0, nullptr, 0.0f), 2);
}

TEST(EffectBase, RegisteringAnEditorSetsTheEditorFlagAndNullClearsIt) {
    MinimalEffect effect(nullptr);
    bool destroyed = false;
    FakeEditor editor(&destroyed);
    effect.getAeffect()->flags = effFlagsCanMono;
    effect.setEditor(&editor);
    EXPECT_EQ(effect.getEditor(), &editor);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanMono | effFlagsHasEditor);
    effect.setEditor(nullptr);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanMono);
    EXPECT_FALSE(destroyed);
}

TEST(EffectBase, DestroyingTheEffectDestroysItsRegisteredEditor) {
    bool destroyed = false;
    {
        MinimalEffect effect(nullptr);
        effect.setEditor(new FakeEditor(&destroyed));
    }
    EXPECT_TRUE(destroyed);
}

TEST(EffectBase, SampleRateKeepsItsValueWhenTheHostSendsNoUsableRate) {
    MinimalEffect effect(nullptr);
    effect.setSampleRate(48000.0f);
    for (float bad : {0.0f, -44100.0f, kNaN, kInfinity, -kInfinity}) {
        effect.setSampleRate(bad);
        EXPECT_EQ(effect.getSampleRate(), 48000.0f) << bad;
    }
    effect.setBlockSizeAndSampleRate(256, kNaN);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
}

TEST(EffectBase, SetParameterAutomatedSetsTheParameterThenTellsTheHost) {
    RecordingHost::reset(12345);
    ProbeEffect effect(&RecordingHost::callback);
    effect.setParameterAutomated(30, 0.4f);
    EXPECT_EQ(effect.parameterIndex, 30);
    EXPECT_EQ(effect.parameterValue, 0.4f);
    ASSERT_EQ(RecordingHost::requests.size(), 1u);
    const HostRequest& request = RecordingHost::requests[0];
    EXPECT_EQ(request.opcode, audioMasterAutomate);
    EXPECT_EQ(request.effect, effect.getAeffect());
    EXPECT_EQ(request.index, 30);
    EXPECT_EQ(request.value, 0);
    EXPECT_EQ(request.ptr, nullptr);
    EXPECT_EQ(request.opt, 0.4f);
}

TEST(EffectBase, SetParameterAutomatedWithoutHostStillSetsTheParameter) {
    ProbeEffect effect(nullptr);
    effect.setParameterAutomated(3, 0.25f);
    EXPECT_EQ(effect.parameterIndex, 3);
    EXPECT_EQ(effect.parameterValue, 0.25f);
}

// The record's entry functions, as a host calls them.

TEST(EffectBase, EntryFunctionsReachTheEffectThroughTheRecord) {
    ProbeEffect effect(nullptr);
    AEffect* record = effect.getAeffect();
    record->setParameter(record, 12, 0.75f);
    EXPECT_EQ(effect.parameterIndex, 12);
    EXPECT_EQ(effect.parameterValue, 0.75f);
    EXPECT_EQ(record->getParameter(record, 12), 0.0f);
    EXPECT_EQ(record->dispatcher(record, effIdentify, 0, 0, nullptr, 0.0f), 0x4E764566);
}

TEST(EffectBase, ClosingThroughTheDispatcherEntryClosesDestroysAndAnswersOne) {
    bool destroyed = false;
    auto* effect = new ProbeEffect(nullptr, &destroyed);
    AEffect* record = effect->getAeffect();
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(destroyed);
}

TEST(EffectBase, EntryFunctionsIgnoreARecordWithoutEffect) {
    AEffect record{};
    EXPECT_EQ(EffectBase::dispatchEntry(&record, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(EffectBase::dispatchEntry(nullptr, effClose, 0, 0, nullptr, 0.0f), 0);
    EffectBase::setParameterEntry(&record, 0, 1.0f);
    EXPECT_EQ(EffectBase::getParameterEntry(nullptr, 0), 0.0f);
    EffectBase::processEntry(&record, nullptr, nullptr, 16);
    EffectBase::processReplacingEntry(nullptr, nullptr, nullptr, 16);
}

} // namespace
