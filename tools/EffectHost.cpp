#include "tools/EffectHost.h"

#include "tools/HostError.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <mutex>
#include <vector>

namespace {

// Texts are nominally 8 to 64 bytes; a generous buffer keeps an overlong answer from
// overwriting anything else.
constexpr std::size_t textBufferSize = 512;

// The hosts alive in this process. The callback finds its host by record; while an entry
// point runs, the record is not known yet and the host being built answers.
std::mutex hostsMutex;
std::vector<std::pair<AEffect*, EffectHost*>> liveHosts;
EffectHost* hostUnderConstruction = nullptr;

std::string trimmedLowercase(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isspace(c) != 0; });
    const auto last = std::find_if_not(text.rbegin(), text.rend(), [](unsigned char c) {
                          return std::isspace(c) != 0;
                      }).base();
    std::string result = first < last ? std::string(first, last) : std::string();
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool isWholeNumber(const std::string& text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

// Index by number or by name; `what` is "parameter" or "program".
int findByNumberOrName(const std::string& text, int count, const char* what,
                       const std::function<std::string(int)>& nameOf) {
    const std::string plural = std::string(what) + "s";
    if (isWholeNumber(text)) {
        const int index = std::stoi(text);
        if (index >= count) {
            throw HostError(std::string(what) + " " + text + " is out of range (the plug-in has " +
                            std::to_string(count) + " " + plural +
                            (count > 0 ? ", 0.." + std::to_string(count - 1) : "") + ")");
        }
        return index;
    }
    const std::string wanted = trimmedLowercase(text);
    std::vector<int> matches;
    for (int index = 0; index < count && !wanted.empty(); ++index) {
        if (trimmedLowercase(nameOf(index)) == wanted) {
            matches.push_back(index);
        }
    }
    if (matches.empty()) {
        throw HostError("unknown " + std::string(what) + " \"" + text + "\" (--list shows the " +
                        plural + ")");
    }
    if (matches.size() > 1) {
        std::string indices;
        for (const int index : matches) {
            indices += (indices.empty() ? "" : ", ") + std::to_string(index);
        }
        throw HostError(std::string(what) + " name \"" + text + "\" is ambiguous (" + indices +
                        "); give the number");
    }
    return matches.front();
}
} // namespace

EffectHost::EffectHost(VstEntryPointProc entryPoint) {
    AEffect* made = nullptr;
    {
        std::lock_guard<std::mutex> lock(hostsMutex);
        hostUnderConstruction = this;
    }
    made = entryPoint != nullptr ? entryPoint(&EffectHost::hostCallback) : nullptr;
    {
        std::lock_guard<std::mutex> lock(hostsMutex);
        hostUnderConstruction = nullptr;
    }
    if (made == nullptr) {
        throw HostError("the plug-in's entry point returned no effect");
    }
    if (made->magic != kEffectMagic) {
        // Not a record we understand: nothing of it may be called, not even effClose.
        throw HostError("the plug-in's entry point returned a record without the VST 2.x magic "
                        "number");
    }
    record = made;
    {
        std::lock_guard<std::mutex> lock(hostsMutex);
        liveHosts.emplace_back(record, this);
    }
    dispatch(effOpen);
}

EffectHost::~EffectHost() {
    dispatch(effClose);
    std::lock_guard<std::mutex> lock(hostsMutex);
    liveHosts.erase(std::remove_if(liveHosts.begin(), liveHosts.end(),
                                   [this](const auto& entry) { return entry.second == this; }),
                    liveHosts.end());
}

VstIntPtr EffectHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    if (record->dispatcher == nullptr) {
        return 0;
    }
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

VstIntPtr VSTCALLBACK EffectHost::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                               VstIntPtr, void*, float opt) {
    if (opcode == audioMasterVersion) {
        return hostVersion;
    }
    EffectHost* host = nullptr;
    {
        std::lock_guard<std::mutex> lock(hostsMutex);
        for (const auto& [knownRecord, knownHost] : liveHosts) {
            if (effect != nullptr && knownRecord == effect) {
                host = knownHost;
            }
        }
        if (host == nullptr) {
            host = hostUnderConstruction;
        }
    }
    if (host == nullptr) {
        return 0;
    }
    switch (opcode) {
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(host->hostTransport.timeInfo());
    case audioMasterAutomate:
        ++host->automated;
        if (host->automationObserver) {
            host->automationObserver(index, opt);
        }
        return 0;
    case audioMasterIdle: // the host's own idle is its loop; nothing more to do
    default:
        return 0;
    }
}

std::string EffectHost::queryText(VstInt32 opcode, VstInt32 index) {
    std::array<char, textBufferSize> text{};
    dispatch(opcode, index, 0, text.data());
    text.back() = '\0';
    return text.data();
}

std::string EffectHost::parameterName(int index) {
    return queryText(effGetParamName, index);
}

std::string EffectHost::parameterDisplay(int index) {
    return queryText(effGetParamDisplay, index);
}

std::string EffectHost::parameterLabel(int index) {
    return queryText(effGetParamLabel, index);
}

std::string EffectHost::programName(int index) {
    std::array<char, textBufferSize> text{};
    if (dispatch(effGetProgramNameIndexed, index, 0, text.data()) == 0 &&
        dispatch(effGetProgram) == index) {
        return queryText(effGetProgramName, 0);
    }
    text.back() = '\0';
    return text.data();
}

std::string EffectHost::effectName() {
    std::string name = queryText(effGetProductString, 0);
    if (name.empty()) {
        name = queryText(effGetEffectName, 0);
    }
    return name;
}

void EffectHost::setProgram(int index) {
    dispatch(effSetProgram, 0, index);
}

void EffectHost::setParameter(int index, float value) {
    if (record->setParameter != nullptr) {
        record->setParameter(record, index, value);
    }
}

int EffectHost::findParameter(const std::string& text) {
    return findByNumberOrName(text, numParameters(), "parameter",
                              [this](int index) { return parameterName(index); });
}

int EffectHost::findProgram(const std::string& text) {
    return findByNumberOrName(text, numPrograms(), "program",
                              [this](int index) { return programName(index); });
}
