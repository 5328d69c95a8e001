// Renders a fixed, deterministic input through the plug-in module, loaded through its entry
// point as a host loads it, and writes every output sample as a raw 32-bit float (the byte
// order of the machine, left and right interleaved, the cases one after another).
//
// Built for Linux and for Windows from this one source: the test script renders with the Linux
// module natively and with each DLL under wine, and compares the files. With
// VELTRANE_RENDER_LINKED_EFFECT the effect is linked in and opened through openEffect, the call
// the module's entry point makes: a static program for emulators that cannot load modules.
//
// Usage: veltrane_render_reference <module> <output file>
//        veltrane_render_linked <output file>
#include "engine/ParameterIndex.h"
#include "host/VstInterface.h"
#if defined(VELTRANE_RENDER_LINKED_EFFECT)
#include "host/EntryPoint.h"
#endif

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#if defined(VELTRANE_RENDER_LINKED_EFFECT)
// No module to load.
#elif defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

namespace P = ParameterIndex;

#if !defined(VELTRANE_RENDER_LINKED_EFFECT)
// The module, loaded for the program's lifetime.
class PluginModule {
public:
    explicit PluginModule(const std::string& path) {
#if defined(_WIN32)
        handle = LoadLibraryA(path.c_str());
#else
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    }
    ~PluginModule() {
        if (handle != nullptr) {
#if defined(_WIN32)
            FreeLibrary(static_cast<HMODULE>(handle));
#else
            dlclose(handle);
#endif
        }
    }
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Hosts try VSTPluginMain first, then main.
    VstEntryPointProc entryPoint() const {
        for (const char* name : {"VSTPluginMain", "main"}) {
#if defined(_WIN32)
            FARPROC symbol = GetProcAddress(static_cast<HMODULE>(handle), name);
#else
            void* symbol = dlsym(handle, name);
#endif
            if (symbol != nullptr) {
                return reinterpret_cast<VstEntryPointProc>(reinterpret_cast<void*>(symbol));
            }
        }
        return nullptr;
    }

    void* handle = nullptr;
};
#endif

struct Setting {
    int index;
    float value;
};

// Automation: a parameter set between blocks once this many frames are done.
struct Automation {
    long frame;
    Setting setting;
};

struct RenderCase {
    const char* name;
    int program;
    float sampleRate;
    std::vector<int> blockSizes; // used in turn until the case's frames are done
    long frames;
    std::vector<Setting> settings;
    std::vector<Automation> automation;
    bool hostTime = false;   // answer audioMasterGetTime with a running transport
    bool accumulate = false; // process instead of processReplacing
};

// Enumerated states: the last needs exactly 1.0.
float state(int n, int count) {
    return n == count - 1 ? 1.0f : float(n) / float(count - 1);
}

const std::vector<RenderCase>& renderCases() {
    static const std::vector<RenderCase> cases = {
        {"program 0, blocks of 64", 0, 44100.0f, {64}, 88200, {}, {}},
        {"program 1, odd blocks", 1, 44100.0f, {1, 17, 511, 3, 64, 65}, 66150, {}, {}},
        {"program 2 at 48 kHz", 2, 48000.0f, {256, 13}, 72000, {}, {}},
        {"program 3 at 96 kHz", 3, 96000.0f, {4096, 1000}, 96000, {}, {}},
        {"program 4, host transport", 4, 44100.0f, {128, 7}, 66150, {}, {}, true},
        {"program 5, accumulating", 5, 44100.0f, {100}, 44100, {}, {}, false, true},
        {"program 6, one-sample blocks", 6, 22050.0f, {1}, 11025, {}, {}},
        {"program 7", 7, 44100.0f, {333}, 66150, {}, {}},
        {"program 8", 8, 44100.0f, {64}, 22050, {}, {}},
        {"program 9", 9, 44100.0f, {64}, 22050, {}, {}},
        {"every filter type and limiter mode, full feedback",
         0,
         44100.0f,
         {37, 64, 129},
         88200,
         {{P::line(0, P::Filt), state(1, 5)},
          {P::line(1, P::Filt), state(2, 5)},
          {P::line(2, P::Filt), state(3, 5)},
          {P::line(3, P::Filt), state(4, 5)},
          {P::line(0, P::Res), 1.0f},
          {P::line(1, P::Freq), 0.1f},
          {P::line(0, P::Feedback0), 1.0f},
          {P::line(1, P::Feedback0 + 1), 1.0f},
          {P::fRouting, 1.0f}},
         {{22050, {P::fCompSense, 0.25f}},
          {33075, {P::fCompSense, 0.5f}},
          {44100, {P::fCompSense, 0.75f}},
          {55125, {P::fCompSense, 1.0f}},
          {66150, {P::fCompSense, 0.0f}}}},
        {"LFO waves, sequencer and own tempo",
         2,
         44100.0f,
         {64, 31},
         88200,
         {{P::fSyncBPM, 0.37f},
          {P::lfo(0, P::LfoWave), state(0, 5)},
          {P::lfo(1, P::LfoWave), state(3, 5)},
          {P::lfoDestination(0, 0), 0.3f},
          {P::lfoAmount(0, 0, 1), 0.9f},
          {P::fNumSteps, 1.0f},
          {P::fStepDest0, 0.6f},
          {P::stepAmount(0, 2), 0.1f}},
         {{17640, {P::lfo(0, P::LfoWave), state(1, 5)}},
          {35280, {P::lfo(0, P::LfoWave), state(2, 5)}},
          {52920, {P::lfo(0, P::LfoWave), state(4, 5)}},
          {61740, {P::line(2, P::Delay), 0.123f}},
          {70560, {P::kCommandResetEngine, 1.0f}}}},
    };
    return cases;
}

// The input: noise bursts, clicks and a triangle, from integer arithmetic only so that both
// platforms feed the module the very same samples.
class TestSignal {
public:
    void next(float& left, float& right) {
        seed = seed * 1664525u + 1013904223u; // fixed seed, fixed sequence
        const float noise = float(std::int32_t(seed)) * (1.0f / 2147483648.0f);
        const long phase = frame % 22050;
        const float burst = phase < 4410 ? 0.5f * noise : 0.0f;
        const float click = phase == 11025 ? 0.9f : 0.0f;
        const long triangleStep = frame % 200;
        const float triangle =
            0.25f * float(triangleStep < 100 ? triangleStep - 50 : 150 - triangleStep) / 50.0f;
        left = burst + click;
        right = phase < 8820 ? triangle : 0.5f * burst;
        ++frame;
    }

private:
    std::uint32_t seed = 0x5eed1234u;
    long frame = 0;
};

// The host side: version 2.4, and on request a transport running at 123.5 beats per minute.
struct Host {
    static VstTimeInfo timeInfo;
    static bool answerTime;
    static VstIntPtr VSTCALLBACK callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                          float) {
        if (opcode == audioMasterVersion) {
            return 2400;
        }
        if (opcode == audioMasterGetTime && answerTime) {
            return reinterpret_cast<VstIntPtr>(&timeInfo);
        }
        return 0;
    }
};
VstTimeInfo Host::timeInfo{};
bool Host::answerTime = false;

bool render(VstEntryPointProc entryPoint, const RenderCase& renderCase, std::FILE* output) {
    Host::answerTime = renderCase.hostTime;
    Host::timeInfo = VstTimeInfo{};
    Host::timeInfo.sampleRate = renderCase.sampleRate;
    Host::timeInfo.tempo = 123.5;

    AEffect* effect = entryPoint(&Host::callback);
    if (effect == nullptr) {
        std::fprintf(stderr, "%s: the entry point answered no effect\n", renderCase.name);
        return false;
    }
    int largestBlock = 0;
    for (const int size : renderCase.blockSizes) {
        largestBlock = size > largestBlock ? size : largestBlock;
    }
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, renderCase.sampleRate);
    effect->dispatcher(effect, effSetBlockSize, 0, largestBlock, nullptr, 0.0f);
    effect->dispatcher(effect, effSetProgram, 0, renderCase.program, nullptr, 0.0f);
    for (const Setting& setting : renderCase.settings) {
        effect->setParameter(effect, setting.index, setting.value);
    }
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);

    std::vector<float> inLeft(largestBlock), inRight(largestBlock);
    std::vector<float> outLeft(largestBlock), outRight(largestBlock);
    std::vector<float> interleaved(2 * std::size_t(largestBlock));
    TestSignal signal;
    std::size_t nextAutomation = 0;
    std::size_t nextBlockSize = 0;
    bool written = true;
    for (long done = 0; done < renderCase.frames;) {
        while (nextAutomation < renderCase.automation.size() &&
               renderCase.automation[nextAutomation].frame <= done) {
            const Setting& setting = renderCase.automation[nextAutomation++].setting;
            effect->setParameter(effect, setting.index, setting.value);
        }
        long size = renderCase.blockSizes[nextBlockSize++ % renderCase.blockSizes.size()];
        size = size < renderCase.frames - done ? size : renderCase.frames - done;
        for (long i = 0; i < size; ++i) {
            signal.next(inLeft[i], inRight[i]);
            // Accumulating output adds to what is there.
            outLeft[i] = renderCase.accumulate ? 0.125f : 0.0f;
            outRight[i] = renderCase.accumulate ? -0.125f : 0.0f;
        }
        Host::timeInfo.samplePos = double(done);
        Host::timeInfo.ppqPos = double(done) / renderCase.sampleRate * (123.5 / 60.0);
        float* inputs[] = {inLeft.data(), inRight.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        if (renderCase.accumulate) {
            effect->process(effect, inputs, outputs, VstInt32(size));
        } else {
            effect->processReplacing(effect, inputs, outputs, VstInt32(size));
        }
        for (long i = 0; i < size; ++i) {
            interleaved[2 * i] = outLeft[i];
            interleaved[2 * i + 1] = outRight[i];
        }
        written = written && std::fwrite(interleaved.data(), sizeof(float), 2 * std::size_t(size),
                                         output) == 2 * std::size_t(size);
        done += size;
    }
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    std::printf("%-52s %7ld frames\n", renderCase.name, renderCase.frames);
    return written;
}

} // namespace

int main(int argumentCount, char** arguments) {
#if defined(VELTRANE_RENDER_LINKED_EFFECT)
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", arguments[0]);
        return 2;
    }
    const char* const outputPath = arguments[1];
    const VstEntryPointProc entryPoint = [](audioMasterCallback host) {
        return openEffect(host, &createEffectInstance);
    };
#else
    if (argumentCount != 3) {
        std::fprintf(stderr, "usage: %s <module> <output file>\n", arguments[0]);
        return 2;
    }
    const char* const outputPath = arguments[2];
    const PluginModule module(arguments[1]);
    const VstEntryPointProc entryPoint = module.handle ? module.entryPoint() : nullptr;
    if (entryPoint == nullptr) {
        std::fprintf(stderr, "%s: cannot load the module or find its entry point\n", arguments[1]);
        return 1;
    }
#endif
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> output(std::fopen(outputPath, "wb"),
                                                                 &std::fclose);
    if (!output) {
        std::fprintf(stderr, "%s: cannot write\n", outputPath);
        return 1;
    }
    for (const RenderCase& renderCase : renderCases()) {
        if (!render(entryPoint, renderCase, output.get())) {
            std::fprintf(stderr, "%s: rendering or writing failed\n", outputPath);
            return 1;
        }
    }
    return std::fflush(output.get()) == 0 ? 0 : 1;
}
