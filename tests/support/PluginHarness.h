// A minimal host for tests: loads the built plug-in module through its exported entry point,
// exactly as a host does, answers the host callback and records what the effect asks of it.
// The same tests run against the Linux shared object and, under wine, the Windows DLLs.
#pragma once

#include "host/VstInterface.h"

#include <string>
#include <vector>

// One request the effect made of the host.
struct HostRequest {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    AEffect* effect = nullptr; // the record the request came with
    void* ptr = nullptr;
};

// A parameter change the effect reported to the host (audioMasterAutomate).
struct Automation {
    VstInt32 index;
    float value;
    bool operator==(const Automation& other) const {
        return index == other.index && value == other.value;
    }
};

class PluginHarness {
public:
    // Path of the module under test: the VELTRANE_MODULE environment variable if set, else the
    // module this build produced.
    static std::string modulePath();

    PluginHarness();
    ~PluginHarness(); // closes the effect (effClose) if still open, then unloads the module
    PluginHarness(const PluginHarness&) = delete;
    PluginHarness& operator=(const PluginHarness&) = delete;

    // Calls the module's entry point; returns the record or null. Any earlier effect is closed.
    AEffect* open();
    AEffect* effect() const { return record; }
    // False when the module could not be loaded or has no entry point; see loadError.
    bool loaded() const { return entryPoint != nullptr; }
    const std::string& loadError() const { return loadErrorText; }

    // The host's answers.
    VstIntPtr versionAnswer = 2400; // audioMasterVersion
    bool answerTime = false;        // audioMasterGetTime gives timeInfo, else null
    VstTimeInfo timeInfo{};         // returned for audioMasterGetTime

    std::vector<HostRequest> requests; // every call of the host callback, in order
    // The parameter changes among them, in order.
    std::vector<Automation> automations() const;

    // Shorthands for the record's entry functions.
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    std::string parameterName(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string programName();
    // Sets the sample rate and block size and switches the effect on.
    void start(float sampleRate, VstInt32 blockSize);
    // Runs processReplacing (or process when accumulate) over stereo buffers of equal length.
    void processReplacing(std::vector<float>& left, std::vector<float>& right,
                          std::vector<float>& outLeft, std::vector<float>& outRight);
    void process(std::vector<float>& left, std::vector<float>& right, std::vector<float>& outLeft,
                 std::vector<float>& outRight);
    void close();              // effClose; the record is gone afterwards
    VstIntPtr closeAnswer = 0; // what the last effClose answered

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt);
    void* module = nullptr;
    VstEntryPointProc entryPoint = nullptr;
    std::string loadErrorText;
    AEffect* record = nullptr;
};
