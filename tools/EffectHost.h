// One effect instance made through a VST 2.x entry point, and the host side it talks to: the
// host callback, the simulated transport and the text queries. Single-threaded: the tool calls
// the effect only from its main thread.
#pragma once

#include "host/VstInterface.h"
#include "tools/HostTransport.h"

#include <functional>
#include <string>
#include <utility>

class EffectHost {
public:
    static constexpr VstIntPtr hostVersion = 2400;

    // Calls the entry point with the host callback and opens the effect (effOpen). Throws
    // HostError when it returns no record or one without kEffectMagic.
    explicit EffectHost(VstEntryPointProc entryPoint);
    ~EffectHost(); // effClose; the record is gone afterwards
    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    AEffect& effect() { return *record; }
    HostTransport& transport() { return hostTransport; }
    int automationCount() const { return automated; }
    // Called for each automation the effect reports (audioMasterAutomate); none by default.
    void onAutomation(std::function<void(int index, float value)> observer) {
        automationObserver = std::move(observer);
    }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    int numParameters() const { return record->numParams; }
    int numPrograms() const { return record->numPrograms; }
    std::string parameterName(int index);
    std::string parameterDisplay(int index);
    std::string parameterLabel(int index);
    std::string programName(int index);
    std::string effectName(); // product string, else effect name, else empty

    void setProgram(int index);
    void setParameter(int index, float value);

    // A parameter by index ("12") or by name (surrounding blanks and case ignored). Throws
    // HostError for an unknown, ambiguous or out-of-range one.
    int findParameter(const std::string& text);
    // A program by number or by name, as findParameter.
    int findProgram(const std::string& text);

private:
    static VstIntPtr VSTCALLBACK hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt);
    std::string queryText(VstInt32 opcode, VstInt32 index);

    AEffect* record = nullptr;
    HostTransport hostTransport;
    int automated = 0;
    std::function<void(int index, float value)> automationObserver;
};
