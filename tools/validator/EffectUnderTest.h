// One effect made through the module's entry point and driven as a host drives it. The host
// callback takes no lock and allocates nothing, since the effect may call it from
// processReplacing while the validator counts heap and lock calls; it may be called from any
// thread.
#pragma once

#include "host/VstInterface.h"

#include <atomic>

class EffectUnderTest {
public:
    static constexpr VstIntPtr kHostVersion = 2400;
    static constexpr int kMaxChannels = 32; // more in a record is taken for a broken record
    static constexpr double kTempo = 120.0; // the host's transport, beats per minute

    // Calls the entry point and effOpen; throws CheckFailure when it gives no usable record.
    explicit EffectUnderTest(VstEntryPointProc entryPoint);
    ~EffectUnderTest(); // effClose, unless close() ran
    EffectUnderTest(const EffectUnderTest&) = delete;
    EffectUnderTest& operator=(const EffectUnderTest&) = delete;

    AEffect& record() const { return *effect; }
    int numInputs() const { return effect->numInputs; }
    int numOutputs() const { return effect->numOutputs; }
    int numParameters() const { return effect->numParams; }
    int numPrograms() const { return effect->numPrograms; }
    bool hasEditor() const { return (effect->flags & effFlagsHasEditor) != 0; }
    bool canProcessReplacing() const { return effect->processReplacing != nullptr; }
    bool canProcess() const { return effect->process != nullptr; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);

    // effSetSampleRate, effSetBlockSize, then effMainsChanged(1).
    void start(float sampleRate, VstInt32 blockSize);
    void suspend(); // effMainsChanged(0)
    void resume();  // effMainsChanged(1)
    // Frames of the host's tail estimate: effGetTailSize when the effect answers more than 1,
    // else the given seconds at the current rate.
    long tailFrames(double defaultSeconds);

    // Run the entry functions over one block; the host's transport moves on by the block.
    // Nothing happens when the record lacks the function.
    void processReplacing(float** inputs, float** outputs, VstInt32 frames);
    void process(float** inputs, float** outputs, VstInt32 frames);

    // The host's transport back to its start: the song position the next block sees is 0.
    void rewindTransport();
    void close(); // effClose now; the record is gone afterwards
    long automationCount() const { return automations.load(std::memory_order_relaxed); }
    float sampleRate() const { return rate.load(std::memory_order_relaxed); }

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt);
    VstIntPtr answer(VstInt32 opcode, void* ptr);
    void moveTransport(VstInt32 frames);

    AEffect* effect = nullptr;
    std::atomic<float> rate{44100.0f};
    std::atomic<VstInt32> blockSize{1024};
    std::atomic<long> automations{0};
    // Written before each block by the thread that processes, read by the effect in it.
    VstTimeInfo timeInfo{};
};
