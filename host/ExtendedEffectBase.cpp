#include "host/ExtendedEffectBase.h"

namespace {

constexpr VstInt32 kInterfaceVersion = 2;

VstIntPtr answer(bool result) {
    return result ? 1 : 0;
}

} // namespace

ExtendedEffectBase::ExtendedEffectBase(audioMasterCallback host, VstInt32 numPrograms,
                                       VstInt32 numParams)
    : EffectBase(host, numPrograms, numParams) {}

VstIntPtr ExtendedEffectBase::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                       float opt) {
    char* const text = static_cast<char*>(ptr);
    switch (opcode) {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return answer(canBeAutomated(index));
    case effString2Parameter:
        return text != nullptr && stringToParameter(index, text) ? 1 : 0;
    case effGetNumProgramCategories:
        return getNumProgramCategories();
    case effGetProgramNameIndexed:
        if (text == nullptr) {
            return 0;
        }
        // An index outside the slots reads and writes nothing; the answer stays 1.
        if (index < 0 || index >= numPrograms) {
            return 1;
        }
        return answer(getProgramNameIndexed(narrowToInt32(value), index, text));
    case effCopyProgram:
        return answer(copyProgram(index));
    case effConnectInput:
        connectInput(index, value != 0);
        return 1;
    case effConnectOutput:
        connectOutput(index, value != 0);
        return 1;
    case effGetInputProperties:
        return answer(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
        return answer(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetCurrentPosition:
        return getCurrentPosition();
    case effGetDestinationBuffer:
        return reinterpret_cast<VstIntPtr>(getDestinationBuffer());
    case effOfflineNotify:
        return answer(
            offlineNotify(static_cast<VstAudioFile*>(ptr), narrowToInt32(value), index != 0));
    case effOfflinePrepare:
        return answer(offlinePrepare(static_cast<VstOfflineTask*>(ptr), narrowToInt32(value)));
    case effOfflineRun:
        return answer(offlineRun(static_cast<VstOfflineTask*>(ptr), narrowToInt32(value)));
    case effProcessVarIo:
        return answer(processVarIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
        return answer(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                            static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBlockSizeAndSampleRate:
        setBlockSizeAndSampleRate(narrowToInt32(value), opt);
        return 1;
    case effSetBypass:
        return answer(setBypass(value != 0));
    case effGetEffectName:
        return text != nullptr && getEffectName(text) ? 1 : 0;
    case effGetErrorText:
        return text != nullptr && getErrorText(text) ? 1 : 0;
    case effGetVendorString:
        return text != nullptr && getVendorString(text) ? 1 : 0;
    case effGetProductString:
        return text != nullptr && getProductString(text) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return text != nullptr ? canDo(text) : 0;
    case effGetTailSize:
        return getTailSize();
    case effIdle:
        return idle();
    case effGetIcon:
        return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
        return answer(setViewPosition(index, narrowToInt32(value)));
    case effGetParameterProperties:
        return answer(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effKeysRequired:
        // Inverted on the wire: 1 tells the host the editor needs no keystrokes.
        return answer(!keysRequired());
    case effGetVstVersion:
        return getVstVersion();
    default:
        return EffectBase::dispatch(opcode, index, value, ptr, opt);
    }
}

VstIntPtr ExtendedEffectBase::hostWantMidi(VstInt32 filter) {
    return callHost(audioMasterWantMidi, 0, filter);
}

VstTimeInfo* ExtendedEffectBase::hostGetTime(VstInt32 filter) noexcept {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstIntPtr ExtendedEffectBase::hostTempoAt(VstInt32 position) {
    return callHost(audioMasterTempoAt, 0, position);
}

VstInt32 ExtendedEffectBase::processEvents(VstEvents* /*events*/) {
    return 0;
}

VstIntPtr ExtendedEffectBase::hostGetNumAutomatableParameters() {
    return callHost(audioMasterGetNumAutomatableParameters);
}

VstIntPtr ExtendedEffectBase::hostGetParameterQuantization() {
    return callHost(audioMasterGetParameterQuantization);
}

bool ExtendedEffectBase::canBeAutomated(VstInt32 /*index*/) {
    return true;
}

bool ExtendedEffectBase::stringToParameter(VstInt32 /*index*/, char* /*text*/) {
    return false;
}

float ExtendedEffectBase::getChannelParameter(VstInt32 /*channel*/, VstInt32 /*index*/) {
    return 0.0f;
}

VstInt32 ExtendedEffectBase::getNumProgramCategories() {
    return 1;
}

bool ExtendedEffectBase::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/,
                                               char* /*text*/) const {
    return false;
}

bool ExtendedEffectBase::copyProgram(VstInt32 /*destination*/) {
    return false;
}

bool ExtendedEffectBase::hostIOChanged() {
    return callHost(audioMasterIOChanged) != 0;
}

bool ExtendedEffectBase::hostNeedIdle() {
    return callHost(audioMasterNeedIdle) != 0;
}

bool ExtendedEffectBase::hostSizeWindow(VstInt32 width, VstInt32 height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

float ExtendedEffectBase::hostGetSampleRate() {
    callHost(audioMasterGetSampleRate);
    return getSampleRate();
}

VstInt32 ExtendedEffectBase::hostGetBlockSize() {
    callHost(audioMasterGetBlockSize);
    return getBlockSize();
}

VstIntPtr ExtendedEffectBase::hostGetInputLatency() {
    return callHost(audioMasterGetInputLatency);
}

VstIntPtr ExtendedEffectBase::hostGetOutputLatency() {
    return callHost(audioMasterGetOutputLatency);
}

AEffect* ExtendedEffectBase::hostGetPreviousPlug(VstInt32 /*input*/) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* ExtendedEffectBase::hostGetNextPlug(VstInt32 /*output*/) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

void ExtendedEffectBase::connectInput(VstInt32 /*index*/, bool /*state*/) {}

void ExtendedEffectBase::connectOutput(VstInt32 /*index*/, bool /*state*/) {}

bool ExtendedEffectBase::getInputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) {
    return false;
}

bool ExtendedEffectBase::getOutputProperties(VstInt32 /*index*/, VstPinProperties* /*properties*/) {
    return false;
}

VstInt32 ExtendedEffectBase::getPlugCategory() {
    return (effectRecord.flags & effFlagsIsSynth) != 0 ? kPlugCategorySynth : 0;
}

VstIntPtr ExtendedEffectBase::hostWillReplaceOrAccumulate() {
    return callHost(audioMasterWillReplaceOrAccumulate);
}

VstIntPtr ExtendedEffectBase::hostGetCurrentProcessLevel() {
    return callHost(audioMasterGetCurrentProcessLevel);
}

VstIntPtr ExtendedEffectBase::hostGetAutomationState() {
    return callHost(audioMasterGetAutomationState);
}

void ExtendedEffectBase::setExtIsAsync(bool state) {
    setFlag(effFlagsExtIsAsync, state);
}

void ExtendedEffectBase::setExtHasBuffer(bool state) {
    setFlag(effFlagsExtHasBuffer, state);
}

VstInt32 ExtendedEffectBase::getCurrentPosition() {
    return 0;
}

float* ExtendedEffectBase::getDestinationBuffer() {
    return nullptr;
}

bool ExtendedEffectBase::hostOfflineRead(VstOfflineTask* task, VstInt32 option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool ExtendedEffectBase::hostOfflineWrite(VstOfflineTask* task, VstInt32 option) {
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool ExtendedEffectBase::hostOfflineStart(VstAudioFile* files, VstInt32 count, VstInt32 newCount) {
    return callHost(audioMasterOfflineStart, newCount, count, files) != 0;
}

bool ExtendedEffectBase::hostOfflineGetCurrentPass() {
    return callHost(audioMasterOfflineGetCurrentPass) != 0;
}

bool ExtendedEffectBase::hostOfflineGetCurrentMetaPass() {
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}

bool ExtendedEffectBase::offlineNotify(VstAudioFile* /*files*/, VstInt32 /*count*/,
                                       bool /*start*/) {
    return false;
}

bool ExtendedEffectBase::offlinePrepare(VstOfflineTask* /*tasks*/, VstInt32 /*count*/) {
    return false;
}

bool ExtendedEffectBase::offlineRun(VstOfflineTask* /*tasks*/, VstInt32 /*count*/) {
    return false;
}

VstInt32 ExtendedEffectBase::reservedForHost1() {
    return 0;
}

VstInt32 ExtendedEffectBase::reservedForHost2() {
    return 0;
}

VstIntPtr ExtendedEffectBase::hostSetOutputSampleRate(float rate) {
    return callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

bool ExtendedEffectBase::hostGetSpeakerArrangement(VstSpeakerArrangement** input,
                                                   VstSpeakerArrangement** output) {
    return callHost(audioMasterGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(input),
                    output) != 0;
}

bool ExtendedEffectBase::hostGetVendorString(char* text) {
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool ExtendedEffectBase::hostGetProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

VstIntPtr ExtendedEffectBase::hostGetVendorVersion() {
    return callHost(audioMasterGetVendorVersion);
}

VstIntPtr ExtendedEffectBase::hostVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr,
                                                 float opt) {
    return callHost(audioMasterVendorSpecific, index, value, ptr, opt);
}

bool ExtendedEffectBase::hostCanDo(const char* text) {
    // The host only reads the text.
    return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) != 0;
}

void ExtendedEffectBase::setIsSynth(bool state) {
    setFlag(effFlagsIsSynth, state);
}

void ExtendedEffectBase::setNoSoundInStop(bool state) {
    setFlag(effFlagsNoSoundInStop, state);
}

VstIntPtr ExtendedEffectBase::hostGetLanguage() {
    return callHost(audioMasterGetLanguage);
}

void* ExtendedEffectBase::hostOpenWindow(VstWindow* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool ExtendedEffectBase::hostCloseWindow(VstWindow* window) {
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* ExtendedEffectBase::hostGetDirectory() {
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool ExtendedEffectBase::hostUpdateDisplay() {
    return callHost(audioMasterUpdateDisplay) != 0;
}

bool ExtendedEffectBase::processVarIo(VstVariableIo* /*io*/) {
    return false;
}

bool ExtendedEffectBase::setSpeakerArrangement(VstSpeakerArrangement* /*input*/,
                                               VstSpeakerArrangement* /*output*/) {
    return false;
}

void ExtendedEffectBase::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    setBlockSize(newBlockSize);
    setSampleRate(newSampleRate);
}

bool ExtendedEffectBase::setBypass(bool /*state*/) {
    return false;
}

bool ExtendedEffectBase::getEffectName(char* /*name*/) {
    return false;
}

bool ExtendedEffectBase::getErrorText(char* /*text*/) {
    return false;
}

bool ExtendedEffectBase::getVendorString(char* /*text*/) const {
    return false;
}

bool ExtendedEffectBase::getProductString(char* /*text*/) const {
    return false;
}

VstInt32 ExtendedEffectBase::getVendorVersion() {
    return 0;
}

VstIntPtr ExtendedEffectBase::vendorSpecific(VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/,
                                             float /*opt*/) {
    return 0;
}

VstInt32 ExtendedEffectBase::canDo(const char* /*text*/) {
    return 0;
}

void* ExtendedEffectBase::getIcon() {
    return nullptr;
}

bool ExtendedEffectBase::setViewPosition(VstInt32 /*x*/, VstInt32 /*y*/) {
    return false;
}

VstInt32 ExtendedEffectBase::getTailSize() {
    return 0;
}

VstInt32 ExtendedEffectBase::idle() {
    return 0;
}

bool ExtendedEffectBase::getParameterProperties(VstInt32 /*index*/,
                                                VstParameterProperties* /*properties*/) {
    return false;
}

bool ExtendedEffectBase::keysRequired() {
    return false;
}

VstInt32 ExtendedEffectBase::getVstVersion() {
    return kInterfaceVersion;
}

bool ExtendedEffectBase::hostProcessEvents(VstEvents* events) {
    return callHost(audioMasterProcessEvents, 0, 0, events) == 1;
}
