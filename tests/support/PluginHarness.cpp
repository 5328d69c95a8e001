#include "tests/support/PluginHarness.h"

#include <algorithm>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// The harness whose effect is open or opening: the host callback has no other way to find it
// while the entry point runs (the record does not exist yet). One effect at a time.
PluginHarness* activeHarness = nullptr;

constexpr std::size_t kTextBufferSize = 256;

#if defined(_WIN32)
void* loadModule(const std::string& path) {
    return LoadLibraryA(path.c_str());
}
void* findEntryPoint(void* module) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), "main"));
}
void unloadModule(void* module) {
    FreeLibrary(static_cast<HMODULE>(module));
}
std::string lastLoadError() {
    return "error " + std::to_string(GetLastError());
}
#else
void* loadModule(const std::string& path) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}
// As hosts do: VSTPluginMain first, then main.
void* findEntryPoint(void* module) {
    void* entry = dlsym(module, "VSTPluginMain");
    return entry != nullptr ? entry : dlsym(module, "main");
}
void unloadModule(void* module) {
    dlclose(module);
}
std::string lastLoadError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}
#endif

} // namespace

std::string PluginHarness::modulePath() {
    if (const char* path = std::getenv("VELTRANE_MODULE"); path != nullptr && *path != '\0') {
        return path;
    }
#if defined(VELTRANE_BUILT_MODULE)
    return VELTRANE_BUILT_MODULE;
#else
    return {};
#endif
}

PluginHarness::PluginHarness() {
    const std::string path = modulePath();
    if (path.empty()) {
        loadErrorText = "no module: set VELTRANE_MODULE";
        return;
    }
    module = loadModule(path);
    if (module == nullptr) {
        loadErrorText = path + ": " + lastLoadError();
        return;
    }
    entryPoint = reinterpret_cast<VstEntryPointProc>(findEntryPoint(module));
    if (entryPoint == nullptr) {
        loadErrorText = path + ": no entry point";
    }
}

PluginHarness::~PluginHarness() {
    close();
    if (activeHarness == this) {
        activeHarness = nullptr;
    }
    if (module != nullptr) {
        unloadModule(module);
    }
}

AEffect* PluginHarness::open() {
    close();
    if (entryPoint == nullptr) {
        return nullptr;
    }
    activeHarness = this;
    record = entryPoint(&PluginHarness::hostCallback);
    return record;
}

VstIntPtr PluginHarness::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    if (record == nullptr) {
        return 0;
    }
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

void PluginHarness::setParameter(VstInt32 index, float value) {
    if (record != nullptr) {
        record->setParameter(record, index, value);
    }
}

float PluginHarness::getParameter(VstInt32 index) {
    return record != nullptr ? record->getParameter(record, index) : 0.0f;
}

namespace {

// Asks the effect for a text in a generous zeroed buffer; never reads past it.
template <typename Dispatch> std::string readText(Dispatch&& dispatch) {
    char buffer[kTextBufferSize] = {};
    dispatch(buffer);
    return std::string(buffer, std::find(buffer, buffer + sizeof buffer, '\0'));
}

} // namespace

std::string PluginHarness::parameterName(VstInt32 index) {
    return readText([&](char* text) { dispatch(effGetParamName, index, 0, text); });
}

std::string PluginHarness::parameterDisplay(VstInt32 index) {
    return readText([&](char* text) { dispatch(effGetParamDisplay, index, 0, text); });
}

std::string PluginHarness::parameterLabel(VstInt32 index) {
    return readText([&](char* text) { dispatch(effGetParamLabel, index, 0, text); });
}

std::vector<Automation> PluginHarness::automations() const {
    std::vector<Automation> found;
    for (const HostRequest& request : requests) {
        if (request.opcode == audioMasterAutomate) {
            found.push_back({request.index, request.opt});
        }
    }
    return found;
}

std::string PluginHarness::programName() {
    return readText([&](char* text) { dispatch(effGetProgramName, 0, 0, text); });
}

void PluginHarness::start(float sampleRate, VstInt32 blockSize) {
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

namespace {

VstInt32 commonLength(const std::vector<float>& a, const std::vector<float>& b,
                      const std::vector<float>& c, const std::vector<float>& d) {
    return static_cast<VstInt32>(std::min({a.size(), b.size(), c.size(), d.size()}));
}

} // namespace

void PluginHarness::processReplacing(std::vector<float>& left, std::vector<float>& right,
                                     std::vector<float>& outLeft, std::vector<float>& outRight) {
    if (record == nullptr) {
        return;
    }
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    record->processReplacing(record, inputs, outputs, commonLength(left, right, outLeft, outRight));
}

void PluginHarness::process(std::vector<float>& left, std::vector<float>& right,
                            std::vector<float>& outLeft, std::vector<float>& outRight) {
    if (record == nullptr) {
        return;
    }
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    record->process(record, inputs, outputs, commonLength(left, right, outLeft, outRight));
}

void PluginHarness::close() {
    if (record == nullptr) {
        return;
    }
    AEffect* const closing = record;
    record = nullptr;
    closeAnswer = closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
}

VstIntPtr PluginHarness::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                      VstIntPtr value, void* ptr, float opt) {
    PluginHarness* const harness = activeHarness;
    if (harness == nullptr) {
        return 0;
    }
    harness->requests.push_back(HostRequest{opcode, index, value, opt, effect, ptr});
    switch (opcode) {
    case audioMasterVersion:
        return harness->versionAnswer;
    case audioMasterGetTime:
        return harness->answerTime ? reinterpret_cast<VstIntPtr>(&harness->timeInfo) : 0;
    default:
        return 0;
    }
}
