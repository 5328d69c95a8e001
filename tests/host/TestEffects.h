// Small effects and a recording host for testing the base classes without the plug-in.
#pragma once

#include "host/EditorInterface.h"
#include "host/ExtendedEffectBase.h"
#include "host/VstInterface.h"
#include "tests/support/PluginHarness.h"

#include <cstring>
#include <string>
#include <vector>

// A host callback that records every request and gives one configurable answer.
struct RecordingHost {
    static inline std::vector<HostRequest> requests;
    static inline VstIntPtr answer = 0;

    static void reset(VstIntPtr newAnswer = 0) {
        requests.clear();
        answer = newAnswer;
    }
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt) {
        requests.push_back(HostRequest{opcode, index, value, opt, effect, ptr});
        return answer;
    }
};

// Keeps every default of the base classes.
class MinimalEffect : public ExtendedEffectBase {
public:
    explicit MinimalEffect(audioMasterCallback host) : ExtendedEffectBase(host, 10, 111) {}
    void process(float** /*inputs*/, float** /*outputs*/,
                 VstInt32 /*sampleFrames*/) noexcept override {}

    using EffectBase::blockSize;
    using EffectBase::currentProgram;
    using EffectBase::hostCallback;
    using EffectBase::numParams;
    using EffectBase::numPrograms;
};

// Records what the dispatcher hands to the effect's operations.
class ProbeEffect : public MinimalEffect {
public:
    explicit ProbeEffect(audioMasterCallback host, bool* destroyed = nullptr)
        : MinimalEffect(host), destroyed(destroyed) {}
    ~ProbeEffect() override {
        if (destroyed != nullptr) {
            *destroyed = true;
        }
    }

    void setParameter(VstInt32 index, float value) override {
        parameterIndex = index;
        parameterValue = value;
    }
    float getVu() const override { return vu; }
    void suspend() override { ++suspendCalls; }
    void resume() override { ++resumeCalls; }
    void close() override { ++closeCalls; }
    VstInt32 getChunk(void** /*data*/, bool isPreset) override {
        chunkIsPreset = isPreset;
        return 7;
    }
    VstInt32 setChunk(void* /*data*/, VstInt32 byteSize, bool isPreset) override {
        chunkByteSize = byteSize;
        chunkIsPreset = isPreset;
        return 9;
    }
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) const override {
        indexedCategory = category;
        indexedProgram = index;
        std::strcpy(text, "named");
        return true;
    }
    bool keysRequired() override { return wantsKeys; }

    bool* destroyed;
    VstInt32 parameterIndex = -1;
    float parameterValue = -1.0f;
    float vu = 0.0f;
    int suspendCalls = 0;
    int resumeCalls = 0;
    int closeCalls = 0;
    bool chunkIsPreset = false;
    VstInt32 chunkByteSize = 0;
    mutable VstInt32 indexedCategory = -1;
    mutable VstInt32 indexedProgram = -1;
    bool wantsKeys = false;
};

// An editor that counts the dispatcher's calls.
class FakeEditor : public EditorInterface {
public:
    explicit FakeEditor(bool* destroyed = nullptr) : destroyed(destroyed) {}
    ~FakeEditor() override {
        if (destroyed != nullptr) {
            *destroyed = true;
        }
    }
    bool getRect(ERect** rect) override {
        *rect = &rectangle;
        return true;
    }
    bool open(void* parentWindow) override {
        openedIn = parentWindow;
        return true;
    }
    void close() override { ++closeCalls; }
    void idle() override { ++idleCalls; }
    void postUpdate() override {}

    bool* destroyed;
    ERect rectangle{0, 0, 512, 752};
    void* openedIn = nullptr;
    int closeCalls = 0;
    int idleCalls = 0;
};
