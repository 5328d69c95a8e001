// A plug-in module for the end-to-end tests: stereo in and out, a gain of 0.5 (parameter
// "Gain", 0..1 -> 0..1), a second parameter "Mix" that does nothing, and two programs, "Clean"
// and "Dark Room". Built with FAKE_BAD_MAGIC it returns a record without the VST 2.x magic.
#include "host/VstInterface.h"

#include <cstring>

namespace {

struct Plugin {
    AEffect record{};
    float gain = 0.5f;
    int program = 0;
};

const char* const parameterNames[] = {"Gain", "Mix"};
const char* const programNames[] = {"Clean", "Dark Room"};

Plugin& pluginOf(AEffect* effect) {
    return *static_cast<Plugin*>(effect->object);
}

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float) {
    Plugin& plugin = pluginOf(effect);
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effClose:
        delete &plugin;
        return 1;
    case effSetProgram:
        plugin.program = static_cast<int>(value);
        return 0;
    case effGetProgram:
        return plugin.program;
    case effGetParamName:
        std::strcpy(text, index >= 0 && index < 2 ? parameterNames[index] : "");
        return 0;
    case effGetProgramNameIndexed:
        if (index < 0 || index >= 2) {
            return 0;
        }
        std::strcpy(text, programNames[index]);
        return 1;
    case effGetProductString:
        std::strcpy(text, "Fake Gain");
        return 1;
    default:
        return 0;
    }
}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 frames) {
    const float gain = pluginOf(effect).gain;
    for (int channel = 0; channel < 2; ++channel) {
        for (VstInt32 frame = 0; frame < frames; ++frame) {
            outputs[channel][frame] = gain * inputs[channel][frame];
        }
    }
}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index == 0) {
        pluginOf(effect).gain = value;
    }
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) {
    return index == 0 ? pluginOf(effect).gain : 0.0f;
}

} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
        return nullptr;
    }
#ifdef FAKE_BAD_MAGIC
    static AEffect unusable{};
    unusable.magic = fourCharacterCode('N', 'o', 'p', 'e');
    return &unusable;
#endif
    auto* plugin = new Plugin;
    AEffect& record = plugin->record;
    record.magic = kEffectMagic;
    record.dispatcher = &dispatch;
    record.processReplacing = &processReplacing;
    record.setParameter = &setParameter;
    record.getParameter = &getParameter;
    record.numPrograms = 2;
    record.numParams = 2;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing;
    record.ioRatio = 1.0f;
    record.object = plugin;
    return &record;
}
