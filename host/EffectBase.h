// The basic effect object behind an AEffect record: the bookkeeping the host relies on, a
// default answer for every dispatcher opcode 0..24, wrappers for the basic host requests and
// fixed-width value texts.
//
// Threads: process/processReplacing run on the host's audio thread; the dispatcher and the
// editor on its GUI thread; setParameter/getParameter may come from either.
#pragma once

#include "host/EditorInterface.h"
#include "host/VstInterface.h"

#include <atomic>

class EffectBase {
public:
    // The text helpers write 8 characters and a terminating zero.
    static constexpr int kValueTextSize = 9;

    EffectBase(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams);
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    // The virtual operations keep this slot order.

    // Destroys the registered editor after the derived classes have released their own state.
    virtual ~EffectBase();
    virtual void setParameter(VstInt32 index, float value);
    virtual float getParameter(VstInt32 index) const;
    // Sets the parameter, then tells the host (audioMasterAutomate). Called by the editor for
    // every change the user makes.
    virtual void setParameterAutomated(VstInt32 index, float value);
    // Adds the effect's output to outputs.
    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept = 0;
    // Overwrites outputs with the effect's output.
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept;
    // Answers a dispatcher opcode; unknown opcodes answer 0.
    virtual VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);
    virtual void open();
    virtual void close();
    virtual VstInt32 getProgram() const;
    virtual void setProgram(VstInt32 program);
    // The text operations below get the host's buffer, never null; names fit 24 bytes, the
    // parameter texts at least 19 bytes.
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name) const;
    virtual void getParameterLabel(VstInt32 index, char* label) const;
    virtual void getParameterDisplay(VstInt32 index, char* text) const;
    virtual void getParameterName(VstInt32 index, char* text) const;
    virtual float getVu() const;
    virtual VstInt32 getChunk(void** data, bool isPreset);
    virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset);
    // Hertz. A rate that is not finite and positive is ignored.
    virtual void setSampleRate(float newSampleRate);
    virtual void setBlockSize(VstInt32 newBlockSize);
    virtual void suspend();
    virtual void resume();
    virtual void setUniqueId(VstInt32 uniqueId);
    virtual void setNumInputs(VstInt32 inputs);
    virtual void setNumOutputs(VstInt32 outputs);
    virtual void hasVu(bool state);
    virtual void hasClip(bool state);
    virtual void canMono(bool state);
    virtual void canProcessReplacing(bool state);
    virtual void programsAreChunks(bool state);
    virtual void setRealtimeQualities(VstInt32 qualities);
    virtual void setOfflineQualities(VstInt32 qualities);
    virtual void setInitialDelay(VstInt32 delay);
    virtual float getSampleRate() const;
    virtual VstInt32 getBlockSize() const;
    // The host's interface version; 1 when there is no host or it answers 0.
    virtual VstIntPtr hostVersion();
    virtual VstIntPtr hostCurrentId();
    virtual void hostIdle();
    // True when the host answers 0 for the pin.
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);
    // The text helpers write into a buffer of at least kValueTextSize bytes.
    // Amplitude as decibels; 0 and below as "  -oo   ".
    virtual void decibelsToText(float value, char* text) const;
    // Frequency of a period given in samples, at the current sample rate.
    virtual void hertzToText(float samples, char* text) const;
    virtual void millisecondsToText(float samples, char* text) const;
    // 8 characters: as many integer digits as fit (at most 7, or 6 after a minus), then the
    // fraction's digits. Values beyond the range, infinities and NaN give " Huge!  ".
    virtual void floatToText(float value, char* text) const;
    // Right-aligned in 7 places; 100000000 and above give " Huge!  ".
    virtual void integerToText(VstInt32 value, char* text) const;

    // Registers the editor, which the effect then owns and destroys with itself, and sets
    // effFlagsHasEditor; null clears the flag without destroying anything (an editor may
    // unregister itself that way). Called by the editor's constructor.
    void setEditor(EditorInterface* newEditor);
    EditorInterface* getEditor() const { return editor; }
    // The record handed to the host.
    AEffect* getAeffect() { return &effectRecord; }

    // The entry functions stored in the record: each takes the effect object from
    // effect->object. After effClose the dispatcher entry destroys the object and answers 1.
    static VstIntPtr VSTCALLBACK dispatchEntry(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                               VstIntPtr value, void* ptr, float opt);
    static void VSTCALLBACK processEntry(AEffect* effect, float** inputs, float** outputs,
                                         VstInt32 sampleFrames) noexcept;
    static void VSTCALLBACK processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                                  VstInt32 sampleFrames) noexcept;
    static void VSTCALLBACK setParameterEntry(AEffect* effect, VstInt32 index, float value);
    static float VSTCALLBACK getParameterEntry(AEffect* effect, VstInt32 index);

protected:
    // Sends a request to the host with this effect's record; 0 without a host.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) noexcept;
    void setFlag(VstInt32 flag, bool state);
    // Host values arrive pointer-sized; counts and sizes are 32-bit. Saturates.
    static VstInt32 narrowToInt32(VstIntPtr value);

    // Hertz. Set from the GUI thread, read by the audio thread: relaxed atomic. The host sets
    // it before it switches the effect on; until then a common rate stands in.
    std::atomic<float> sampleRate{44100.0f};
    EditorInterface* editor = nullptr; // owned, see setEditor
    audioMasterCallback hostCallback;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 currentProgram = 0;
    VstInt32 blockSize = 1024;
    AEffect effectRecord;
};
