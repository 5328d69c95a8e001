// Each host request wrapper: the opcode and arguments it sends, how it reads the answer, and
// what it answers when no host callback is stored.
#include "tests/host/TestEffects.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Addresses the wrappers pass through; never dereferenced.
char marker[16];
char otherMarker[16];
void* const kPointer = marker;
void* const kOtherPointer = otherMarker;
template <typename T> T* pointer() {
    return reinterpret_cast<T*>(marker);
}

VstIntPtr asInteger(bool result) {
    return result ? 1 : 0;
}
VstIntPtr asInteger(const void* result) {
    return reinterpret_cast<VstIntPtr>(result);
}

struct RequestCase {
    const char* wrapper;
    VstIntPtr (*call)(ExtendedEffectBase&);
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
    VstIntPtr hostAnswer;
    VstIntPtr expected;
    VstIntPtr expectedWithoutHost;
};

const VstIntPtr kAddress = asInteger(kOtherPointer);

// clang-format off
const RequestCase kCases[] = {
    {"hostVersion", [](ExtendedEffectBase& e) { return e.hostVersion(); },
     audioMasterVersion, 0, 0, nullptr, 0.0f, 2400, 2400, 1},
    {"hostVersion answered 0", [](ExtendedEffectBase& e) { return e.hostVersion(); },
     audioMasterVersion, 0, 0, nullptr, 0.0f, 0, 1, 1},
    {"hostCurrentId", [](ExtendedEffectBase& e) { return e.hostCurrentId(); },
     audioMasterCurrentId, 0, 0, nullptr, 0.0f, 77, 77, 0},
    {"hostIdle", [](ExtendedEffectBase& e) { e.hostIdle(); return VstIntPtr{0}; },
     audioMasterIdle, 0, 0, nullptr, 0.0f, 1, 0, 0},
    {"isInputConnected answered 0",
     [](ExtendedEffectBase& e) { return asInteger(e.isInputConnected(3)); },
     audioMasterPinConnected, 3, 0, nullptr, 0.0f, 0, 1, 0},
    {"isInputConnected answered 1",
     [](ExtendedEffectBase& e) { return asInteger(e.isInputConnected(3)); },
     audioMasterPinConnected, 3, 0, nullptr, 0.0f, 1, 0, 0},
    {"isOutputConnected", [](ExtendedEffectBase& e) { return asInteger(e.isOutputConnected(2)); },
     audioMasterPinConnected, 2, 1, nullptr, 0.0f, 0, 1, 0},
    {"hostWantMidi", [](ExtendedEffectBase& e) { return e.hostWantMidi(5); },
     audioMasterWantMidi, 0, 5, nullptr, 0.0f, 1, 1, 0},
    {"hostGetTime", [](ExtendedEffectBase& e) { return asInteger(e.hostGetTime(0x600)); },
     audioMasterGetTime, 0, 0x600, nullptr, 0.0f, kAddress, kAddress, 0},
    {"hostProcessEvents answered 1",
     [](ExtendedEffectBase& e) { return asInteger(e.hostProcessEvents(pointer<VstEvents>())); },
     audioMasterProcessEvents, 0, 0, kPointer, 0.0f, 1, 1, 0},
    {"hostProcessEvents answered 2",
     [](ExtendedEffectBase& e) { return asInteger(e.hostProcessEvents(pointer<VstEvents>())); },
     audioMasterProcessEvents, 0, 0, kPointer, 0.0f, 2, 0, 0},
    {"hostTempoAt", [](ExtendedEffectBase& e) { return e.hostTempoAt(44100); },
     audioMasterTempoAt, 0, 44100, nullptr, 0.0f, 1200000, 1200000, 0},
    {"hostGetNumAutomatableParameters",
     [](ExtendedEffectBase& e) { return e.hostGetNumAutomatableParameters(); },
     audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f, 64, 64, 0},
    {"hostGetParameterQuantization",
     [](ExtendedEffectBase& e) { return e.hostGetParameterQuantization(); },
     audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f, 100, 100, 0},
    {"hostIOChanged", [](ExtendedEffectBase& e) { return asInteger(e.hostIOChanged()); },
     audioMasterIOChanged, 0, 0, nullptr, 0.0f, 5, 1, 0},
    {"hostNeedIdle", [](ExtendedEffectBase& e) { return asInteger(e.hostNeedIdle()); },
     audioMasterNeedIdle, 0, 0, nullptr, 0.0f, 0, 0, 0},
    {"hostSizeWindow",
     [](ExtendedEffectBase& e) { return asInteger(e.hostSizeWindow(752, 512)); },
     audioMasterSizeWindow, 752, 512, nullptr, 0.0f, 1, 1, 0},
    {"hostGetSampleRate keeps the stored rate",
     [](ExtendedEffectBase& e) { return static_cast<VstIntPtr>(e.hostGetSampleRate()); },
     audioMasterGetSampleRate, 0, 0, nullptr, 0.0f, 96000, 44100, 44100},
    {"hostGetBlockSize keeps the stored size",
     [](ExtendedEffectBase& e) { return VstIntPtr{e.hostGetBlockSize()}; },
     audioMasterGetBlockSize, 0, 0, nullptr, 0.0f, 64, 1024, 1024},
    {"hostGetInputLatency", [](ExtendedEffectBase& e) { return e.hostGetInputLatency(); },
     audioMasterGetInputLatency, 0, 0, nullptr, 0.0f, 256, 256, 0},
    {"hostGetOutputLatency", [](ExtendedEffectBase& e) { return e.hostGetOutputLatency(); },
     audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f, 512, 512, 0},
    {"hostGetPreviousPlug does not pass its pin",
     [](ExtendedEffectBase& e) { return asInteger(e.hostGetPreviousPlug(4)); },
     audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f, kAddress, kAddress, 0},
    {"hostGetNextPlug does not pass its pin",
     [](ExtendedEffectBase& e) { return asInteger(e.hostGetNextPlug(4)); },
     audioMasterGetNextPlug, 0, 0, nullptr, 0.0f, kAddress, kAddress, 0},
    {"hostWillReplaceOrAccumulate",
     [](ExtendedEffectBase& e) { return e.hostWillReplaceOrAccumulate(); },
     audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f, 2, 2, 0},
    {"hostGetCurrentProcessLevel",
     [](ExtendedEffectBase& e) { return e.hostGetCurrentProcessLevel(); },
     audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f, 2, 2, 0},
    {"hostGetAutomationState", [](ExtendedEffectBase& e) { return e.hostGetAutomationState(); },
     audioMasterGetAutomationState, 0, 0, nullptr, 0.0f, 3, 3, 0},
    {"hostOfflineStart",
     [](ExtendedEffectBase& e) {
         return asInteger(e.hostOfflineStart(pointer<VstAudioFile>(), 3, 2));
     },
     audioMasterOfflineStart, 2, 3, kPointer, 0.0f, 7, 1, 0},
    {"hostOfflineRead",
     [](ExtendedEffectBase& e) {
         return asInteger(e.hostOfflineRead(pointer<VstOfflineTask>(), 4, true));
     },
     audioMasterOfflineRead, 1, 4, kPointer, 0.0f, 1, 1, 0},
    {"hostOfflineWrite",
     [](ExtendedEffectBase& e) {
         return asInteger(e.hostOfflineWrite(pointer<VstOfflineTask>(), 6));
     },
     audioMasterOfflineWrite, 0, 6, kPointer, 0.0f, 0, 0, 0},
    {"hostOfflineGetCurrentPass",
     [](ExtendedEffectBase& e) { return asInteger(e.hostOfflineGetCurrentPass()); },
     audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f, 1, 1, 0},
    {"hostOfflineGetCurrentMetaPass",
     [](ExtendedEffectBase& e) { return asInteger(e.hostOfflineGetCurrentMetaPass()); },
     audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f, 1, 1, 0},
    {"hostSetOutputSampleRate",
     [](ExtendedEffectBase& e) { return e.hostSetOutputSampleRate(48000.0f); },
     audioMasterSetOutputSampleRate, 0, 0, nullptr, 48000.0f, 1, 1, 0},
    {"hostGetSpeakerArrangement",
     [](ExtendedEffectBase& e) {
         return asInteger(e.hostGetSpeakerArrangement(
             reinterpret_cast<VstSpeakerArrangement**>(kOtherPointer),
             pointer<VstSpeakerArrangement*>()));
     },
     audioMasterGetSpeakerArrangement, 0, kAddress, kPointer, 0.0f, 1, 1, 0},
    {"hostGetVendorString",
     [](ExtendedEffectBase& e) { return asInteger(e.hostGetVendorString(marker)); },
     audioMasterGetVendorString, 0, 0, kPointer, 0.0f, 1, 1, 0},
    {"hostGetProductString",
     [](ExtendedEffectBase& e) { return asInteger(e.hostGetProductString(marker)); },
     audioMasterGetProductString, 0, 0, kPointer, 0.0f, 0, 0, 0},
    {"hostGetVendorVersion", [](ExtendedEffectBase& e) { return e.hostGetVendorVersion(); },
     audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f, 1000, 1000, 0},
    {"hostVendorSpecific",
     [](ExtendedEffectBase& e) { return e.hostVendorSpecific(11, 22, kPointer, 0.5f); },
     audioMasterVendorSpecific, 11, 22, kPointer, 0.5f, 33, 33, 0},
    {"hostCanDo", [](ExtendedEffectBase& e) { return asInteger(e.hostCanDo(marker)); },
     audioMasterCanDo, 0, 0, kPointer, 0.0f, -1, 1, 0},
    {"hostGetLanguage", [](ExtendedEffectBase& e) { return e.hostGetLanguage(); },
     audioMasterGetLanguage, 0, 0, nullptr, 0.0f, 2, 2, 0},
    {"hostOpenWindow",
     [](ExtendedEffectBase& e) { return asInteger(e.hostOpenWindow(pointer<VstWindow>())); },
     audioMasterOpenWindow, 0, 0, kPointer, 0.0f, kAddress, kAddress, 0},
    {"hostCloseWindow",
     [](ExtendedEffectBase& e) { return asInteger(e.hostCloseWindow(pointer<VstWindow>())); },
     audioMasterCloseWindow, 0, 0, kPointer, 0.0f, 1, 1, 0},
    {"hostGetDirectory", [](ExtendedEffectBase& e) { return asInteger(e.hostGetDirectory()); },
     audioMasterGetDirectory, 0, 0, nullptr, 0.0f, kAddress, kAddress, 0},
    {"hostUpdateDisplay", [](ExtendedEffectBase& e) { return asInteger(e.hostUpdateDisplay()); },
     audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f, 1, 1, 0},
};
// clang-format on

TEST(HostRequests, EachWrapperSendsItsOpcodeAndArgumentsWithTheEffectsRecord) {
    for (const RequestCase& request : kCases) {
        SCOPED_TRACE(request.wrapper);
        RecordingHost::reset(request.hostAnswer);
        MinimalEffect effect(&RecordingHost::callback);
        EXPECT_EQ(request.call(effect), request.expected);
        ASSERT_EQ(RecordingHost::requests.size(), 1u);
        const HostRequest& sent = RecordingHost::requests[0];
        EXPECT_EQ(sent.effect, effect.getAeffect());
        EXPECT_EQ(sent.opcode, request.opcode);
        EXPECT_EQ(sent.index, request.index);
        EXPECT_EQ(sent.value, request.value);
        EXPECT_EQ(sent.ptr, request.ptr);
        EXPECT_EQ(sent.opt, request.opt);
    }
}

TEST(HostRequests, WithoutHostNothingIsSentAndTheAnswersAreNeutral) {
    for (const RequestCase& request : kCases) {
        SCOPED_TRACE(request.wrapper);
        RecordingHost::reset(request.hostAnswer);
        MinimalEffect effect(nullptr);
        EXPECT_EQ(request.call(effect), request.expectedWithoutHost);
        EXPECT_TRUE(RecordingHost::requests.empty());
    }
}

} // namespace
