// A stereo gain plug-in with one fault planted, chosen at build time, for the validator's own
// tests: the validator must fail on it, naming the check and the seed.
//   FAULT_NAN_OUTPUT           processReplacing writes a NaN after the first second
//   FAULT_WRITE_PAST_BLOCK     processReplacing writes one frame past the block
//   FAULT_ALLOCATE_IN_PROCESS  processReplacing allocates a scratch buffer
//   FAULT_LOCK_IN_PROCESS      processReplacing takes a lock
//   FAULT_MUTED_BY_NAN         after a non-finite input sample the output stays silent
//   FAULT_DATA_RACE            the gain is a plain float, set by one thread while another
//                              processes (for ThreadSanitizer)
//   FAULT_CRASH_ON_NULL        effString2Parameter reads its text without looking for null
//   FAULT_EDITOR_LEAK          every opening of the editor leaks a GDI object (Windows) or a
//                              heap block (Linux)
// Without a fault it passes every check it can run: it takes non-finite input as silence. Its
// editor, a plain child window, exists on Windows and, with FAULT_PLUGIN_X11, on Linux.
#include "host/VstInterface.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#if defined(FAULT_LOCK_IN_PROCESS) && !defined(_WIN32)
#include <mutex>
#endif

#if defined(_WIN32)
#include <windows.h>
#define FAULT_PLUGIN_HAS_EDITOR 1
#elif defined(FAULT_PLUGIN_X11)
#include <X11/Xlib.h>
#define FAULT_PLUGIN_HAS_EDITOR 1
#endif

#if defined(_WIN32)
#define FAULT_PLUGIN_EXPORT extern "C"
#else
#define FAULT_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// The editor: a plain child window of the host's.
class Editor {
public:
    static constexpr ERect rect{0, 0, 100, 200};

    ~Editor() { close(); }
    bool open(void* parent);
    void close();

private:
#if defined(_WIN32)
    HWND window = nullptr;
    HBRUSH brush = nullptr;
#elif defined(FAULT_PLUGIN_X11)
    Display* display = nullptr;
    Window window = 0;
#endif
};

#if defined(_WIN32)
bool Editor::open(void* parent) {
    close();
    window = CreateWindowExW(0, L"STATIC", L"fault", WS_CHILD | WS_VISIBLE, 0, 0, rect.right,
                             rect.bottom, static_cast<HWND>(parent), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    brush = CreateSolidBrush(RGB(40, 60, 80));
    return window != nullptr;
}

void Editor::close() {
    if (window != nullptr) {
        DestroyWindow(window);
    }
#if !defined(FAULT_EDITOR_LEAK)
    if (brush != nullptr) {
        DeleteObject(brush);
    }
#endif
    window = nullptr;
    brush = nullptr;
}
#elif defined(FAULT_PLUGIN_X11)
bool Editor::open(void* parent) {
    close();
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    window = XCreateSimpleWindow(display, reinterpret_cast<std::uintptr_t>(parent), 0, 0,
                                 rect.right, rect.bottom, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
#if defined(FAULT_EDITOR_LEAK)
    struct Leak {
        Leak* previous;
    };
    static Leak* leaks = nullptr;
    leaks = new Leak{leaks};
#endif
    return true;
}

void Editor::close() {
    if (display != nullptr) {
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    display = nullptr;
    window = 0;
}
#else
bool Editor::open(void*) {
    return false;
}
void Editor::close() {}
#endif

struct Plugin {
    AEffect record{};
    Editor editor;
    // Set from any thread.
#if defined(FAULT_DATA_RACE)
    struct {
        float value;
        float load(std::memory_order) const { return value; }
        void store(float next, std::memory_order) { value = next; }
    } gain{0.5f};
#else
    std::atomic<float> gain{0.5f};
#endif
    bool muted = false;
    long framesDone = 0;
#if defined(FAULT_LOCK_IN_PROCESS) && defined(_WIN32)
    CRITICAL_SECTION section;
    Plugin() {
        InitializeCriticalSection(&section);
    }
    ~Plugin() {
        DeleteCriticalSection(&section);
    }
#elif defined(FAULT_LOCK_IN_PROCESS)
    std::mutex mutex;
#endif
};

float finite(float sample) {
    return std::isfinite(sample) ? sample : 0.0f;
}

Plugin& pluginOf(AEffect* effect) {
    return *static_cast<Plugin*>(effect->object);
}

void copyText(void* ptr, const char* text, std::size_t size) {
    std::strncpy(static_cast<char*>(ptr), text, size - 1);
    static_cast<char*>(ptr)[size - 1] = '\0';
}

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr,
                               void* ptr, float) {
    Plugin& plugin = pluginOf(effect);
    switch (opcode) {
    case effClose:
        delete &plugin;
        return 1;
    case effGetParamName:
        copyText(ptr, index == 0 ? "Gain" : "", 9);
        return 0;
    case effGetParamLabel:
        copyText(ptr, "", 9);
        return 0;
    case effGetParamDisplay:
        copyText(ptr, index == 0 ? "0.5" : "", 9);
        return 0;
    case effGetProgramName:
    case effGetProgramNameIndexed:
        copyText(ptr, "Default", kVstMaxProgNameLen);
        return opcode == effGetProgramNameIndexed ? 1 : 0;
    case effGetVendorString:
    case effGetProductString:
        copyText(ptr, "Fault", kVstMaxVendorStrLen);
        return 1;
    case effEditGetRect:
        *static_cast<const ERect**>(ptr) = &Editor::rect;
        return 1;
    case effEditOpen:
        return plugin.editor.open(ptr) ? 1 : 0;
    case effEditClose:
        plugin.editor.close();
        return 0;
    case effString2Parameter:
#if defined(FAULT_CRASH_ON_NULL)
        return *static_cast<const volatile char*>(ptr) != '\0' ? 1 : 0;
#else
        return 0;
#endif
    default:
        return 0;
    }
}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 frames) {
    Plugin& plugin = pluginOf(effect);
#if defined(FAULT_ALLOCATE_IN_PROCESS)
    std::vector<float> scratch(static_cast<std::size_t>(frames > 0 ? frames : 1));
#endif
#if defined(FAULT_LOCK_IN_PROCESS) && defined(_WIN32)
    EnterCriticalSection(&plugin.section);
#elif defined(FAULT_LOCK_IN_PROCESS)
    const std::lock_guard<std::mutex> lock(plugin.mutex);
#endif
    const float gain = plugin.gain.load(std::memory_order_relaxed);
    for (int channel = 0; channel < 2; ++channel) {
        for (VstInt32 frame = 0; frame < frames; ++frame) {
#if defined(FAULT_MUTED_BY_NAN)
            plugin.muted = plugin.muted || !std::isfinite(inputs[channel][frame]);
#endif
            outputs[channel][frame] = plugin.muted ? 0.0f : gain * finite(inputs[channel][frame]);
        }
    }
#if defined(FAULT_NAN_OUTPUT)
    if (plugin.framesDone > 44100 && frames > 0) {
        outputs[1][frames - 1] = std::numeric_limits<float>::quiet_NaN();
    }
#endif
#if defined(FAULT_WRITE_PAST_BLOCK)
    outputs[0][frames] = 0.0f;
#endif
#if defined(FAULT_LOCK_IN_PROCESS) && defined(_WIN32)
    LeaveCriticalSection(&plugin.section);
#endif
    plugin.framesDone += frames;
}

void VSTCALLBACK process(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    const float gain = pluginOf(effect).gain.load(std::memory_order_relaxed);
    for (int channel = 0; channel < 2; ++channel) {
        for (VstInt32 frame = 0; frame < frames; ++frame) {
            outputs[channel][frame] += gain * finite(inputs[channel][frame]);
        }
    }
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index == 0 && value >= 0.0f && value <= 1.0f) {
        pluginOf(effect).gain.store(std::isnormal(value) ? value : 0.0f, std::memory_order_relaxed);
    }
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
    return index == 0 ? pluginOf(effect).gain.load(std::memory_order_relaxed) : 0.0f;
}

} // namespace

FAULT_PLUGIN_EXPORT AEffect* VSTCALLBACK faultPluginMain(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
    auto* const plugin = new Plugin;
    AEffect& record = plugin->record;
    record.magic = kEffectMagic;
    record.dispatcher = dispatch;
    record.process = process;
    record.processReplacing = processReplacing;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.numPrograms = 1;
    record.numParams = 1;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing;
#if defined(FAULT_PLUGIN_HAS_EDITOR)
    record.flags |= effFlagsHasEditor;
#endif
    record.ioRatio = 1.0f;
    record.object = plugin;
    record.uniqueID = fourCharacterCode('F', 'l', 't', '1');
    record.version = 1;
    return &record;
}

#if !defined(_WIN32)
FAULT_PLUGIN_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    return faultPluginMain(host);
}
#endif
