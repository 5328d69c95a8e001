// A tiny effect built in the test process, reached through an entry point like any plug-in:
// a gain (0.5 unless changed) behind an optional delay, recording every call the host makes.
#pragma once

#include "host/VstInterface.h"

#include <vector>

struct DispatchedCall {
    VstInt32 opcode;
    VstIntPtr value;
    float opt;
};

class FakeEffect {
public:
    FakeEffect();
    ~FakeEffect();

    // The entry point; returns the record of the FakeEffect constructed last.
    static AEffect* VSTCALLBACK entryPoint(audioMasterCallback host);

    AEffect record{};
    audioMasterCallback host = nullptr;
    VstIntPtr versionAnswer = 0;  // what the host answered during the entry point
    bool timeDuringEntry = false; // the host answered audioMasterGetTime during the entry point

    // Behaviour.
    float gain = 0.5f;
    int delayFrames = 0; // output = gain x input, this many frames late
    float offset = 0.0f; // added to every output sample

    // What the host did.
    std::vector<DispatchedCall> calls;
    std::vector<int> blockSizes;
    std::vector<VstTimeInfo> times;             // per block; zeros when the host answered null
    std::vector<std::vector<float>> inputsSeen; // per input, every sample in order
    int program = 0;

private:
    static VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);
    static void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                             VstInt32 frames);
    static void VSTCALLBACK process(AEffect* effect, float** inputs, float** outputs,
                                    VstInt32 frames);
    static void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value);
    static float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index);
    void run(float** inputs, float** outputs, VstInt32 frames, bool accumulate);

    std::vector<std::vector<float>> history; // per output, for the delay
};

// Parameter and program names of the fake: "Gain", "  Delay Time  ", "Mix", "mix";
// programs "Clean", "Dark Room", "Init".
constexpr int fakeParameterCount = 4;
constexpr int fakeProgramCount = 3;
