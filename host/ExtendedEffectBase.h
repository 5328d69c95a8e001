// The second range of dispatcher opcodes (25..58) with their default answers, and wrappers for
// the further host requests.
//
// Without a host callback the requests send nothing and answer 0, false or null, except
// hostGetSampleRate and hostGetBlockSize, which always answer the stored values.
#pragma once

#include "host/EffectBase.h"
#include "host/VstInterface.h"

class ExtendedEffectBase : public EffectBase {
public:
    // Answer of getPlugCategory when effFlagsIsSynth is set.
    static constexpr VstInt32 kPlugCategorySynth = 2;

    ExtendedEffectBase(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams);

    // Opcodes 25..58 here, all others through EffectBase.
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

    // The virtual operations keep this slot order, after those of EffectBase.

    virtual VstIntPtr hostWantMidi(VstInt32 filter);
    // The host's time information, read-only and owned by the host; null when it has none.
    // Called from the audio thread.
    virtual VstTimeInfo* hostGetTime(VstInt32 filter) noexcept;
    virtual VstIntPtr hostTempoAt(VstInt32 position);
    virtual VstInt32 processEvents(VstEvents* events);
    virtual VstIntPtr hostGetNumAutomatableParameters();
    virtual VstIntPtr hostGetParameterQuantization();
    virtual bool canBeAutomated(VstInt32 index);
    virtual bool stringToParameter(VstInt32 index, char* text);
    virtual float getChannelParameter(VstInt32 channel, VstInt32 index);
    virtual VstInt32 getNumProgramCategories();
    // Writes the name of program index (0 <= index < numPrograms, text never null).
    virtual bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) const;
    virtual bool copyProgram(VstInt32 destination);
    virtual bool hostIOChanged();
    virtual bool hostNeedIdle();
    virtual bool hostSizeWindow(VstInt32 width, VstInt32 height);
    virtual float hostGetSampleRate();
    virtual VstInt32 hostGetBlockSize();
    virtual VstIntPtr hostGetInputLatency();
    virtual VstIntPtr hostGetOutputLatency();
    virtual AEffect* hostGetPreviousPlug(VstInt32 input);
    virtual AEffect* hostGetNextPlug(VstInt32 output);
    virtual void connectInput(VstInt32 index, bool state);
    virtual void connectOutput(VstInt32 index, bool state);
    virtual bool getInputProperties(VstInt32 index, VstPinProperties* properties);
    virtual bool getOutputProperties(VstInt32 index, VstPinProperties* properties);
    virtual VstInt32 getPlugCategory();
    virtual VstIntPtr hostWillReplaceOrAccumulate();
    virtual VstIntPtr hostGetCurrentProcessLevel();
    virtual VstIntPtr hostGetAutomationState();
    virtual void setExtIsAsync(bool state);
    virtual void setExtHasBuffer(bool state);
    virtual VstInt32 getCurrentPosition();
    virtual float* getDestinationBuffer();
    virtual bool hostOfflineRead(VstOfflineTask* task, VstInt32 option, bool readSource);
    virtual bool hostOfflineWrite(VstOfflineTask* task, VstInt32 option);
    virtual bool hostOfflineStart(VstAudioFile* files, VstInt32 count, VstInt32 newCount);
    virtual bool hostOfflineGetCurrentPass();
    virtual bool hostOfflineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* files, VstInt32 count, bool start);
    virtual bool offlinePrepare(VstOfflineTask* tasks, VstInt32 count);
    virtual bool offlineRun(VstOfflineTask* tasks, VstInt32 count);
    // Two slots kept free for later host operations; they answer 0.
    virtual VstInt32 reservedForHost1();
    virtual VstInt32 reservedForHost2();
    virtual VstIntPtr hostSetOutputSampleRate(float rate);
    virtual bool hostGetSpeakerArrangement(VstSpeakerArrangement** input,
                                           VstSpeakerArrangement** output);
    virtual bool hostGetVendorString(char* text);
    virtual bool hostGetProductString(char* text);
    virtual VstIntPtr hostGetVendorVersion();
    virtual VstIntPtr hostVendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    virtual bool hostCanDo(const char* text);
    virtual void setIsSynth(bool state);
    virtual void setNoSoundInStop(bool state);
    virtual VstIntPtr hostGetLanguage();
    // The host's window handle, or null.
    virtual void* hostOpenWindow(VstWindow* window);
    virtual bool hostCloseWindow(VstWindow* window);
    virtual void* hostGetDirectory();
    virtual bool hostUpdateDisplay();
    virtual bool processVarIo(VstVariableIo* io);
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
    // Stores both; the rate as setSampleRate does.
    virtual void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate);
    virtual bool setBypass(bool state);
    virtual bool getEffectName(char* name);
    virtual bool getErrorText(char* text);
    // The texts fit 64 bytes (text never null).
    virtual bool getVendorString(char* text) const;
    virtual bool getProductString(char* text) const;
    virtual VstInt32 getVendorVersion();
    virtual VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    // 1 yes, -1 no, 0 don't know.
    virtual VstInt32 canDo(const char* text);
    virtual void* getIcon();
    virtual bool setViewPosition(VstInt32 x, VstInt32 y);
    virtual VstInt32 getTailSize();
    virtual VstInt32 idle();
    virtual bool getParameterProperties(VstInt32 index, VstParameterProperties* properties);
    // True when the editor needs the host's keystrokes.
    virtual bool keysRequired();
    virtual VstInt32 getVstVersion();

    // Not virtual: sends events to the host; true when it answers 1.
    bool hostProcessEvents(VstEvents* events);
};
