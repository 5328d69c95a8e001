#include "FakeEffect.h"

#include <algorithm>
#include <cstring>

namespace {
FakeEffect* newest = nullptr;
const char* const parameterNames[fakeParameterCount] = {"Gain", "  Delay Time  ", "Mix", "mix"};
const char* const programNames[fakeProgramCount] = {"Clean", "Dark Room", "Init"};

FakeEffect& fakeOf(AEffect* effect) {
    return *static_cast<FakeEffect*>(effect->object);
}
} // namespace

FakeEffect::FakeEffect() {
    record.magic = kEffectMagic;
    record.dispatcher = &FakeEffect::dispatch;
    record.process = &FakeEffect::process;
    record.processReplacing = &FakeEffect::processReplacing;
    record.setParameter = &FakeEffect::setParameter;
    record.getParameter = &FakeEffect::getParameter;
    record.numPrograms = fakeProgramCount;
    record.numParams = fakeParameterCount;
    record.numInputs = 2;
    record.numOutputs = 2;
    record.flags = effFlagsCanReplacing;
    record.ioRatio = 1.0f;
    record.object = this;
    newest = this;
}

FakeEffect::~FakeEffect() {
    if (newest == this) {
        newest = nullptr;
    }
}

AEffect* VSTCALLBACK FakeEffect::entryPoint(audioMasterCallback host) {
    if (newest == nullptr) {
        return nullptr;
    }
    newest->host = host;
    newest->versionAnswer = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    newest->timeDuringEntry = host(&newest->record, audioMasterGetTime, 0, 0, nullptr, 0.0f) != 0;
    return &newest->record;
}

VstIntPtr VSTCALLBACK FakeEffect::dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
    FakeEffect& fake = fakeOf(effect);
    fake.calls.push_back(DispatchedCall{opcode, value, opt});
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effSetProgram:
        fake.program = static_cast<int>(value);
        return 0;
    case effGetProgram:
        return fake.program;
    case effGetParamName:
        std::strcpy(text, parameterNames[index]);
        return 0;
    case effGetParamDisplay:
        std::strcpy(text, "0.5");
        return 0;
    case effGetProgramNameIndexed:
        if (index < 0 || index >= fakeProgramCount) {
            return 0;
        }
        std::strcpy(text, programNames[index]);
        return 1;
    default:
        return 0;
    }
}

void FakeEffect::run(float** inputs, float** outputs, VstInt32 frames, bool accumulate) {
    blockSizes.push_back(frames);
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        host(&record, audioMasterGetTime, 0, kVstPpqPosValid | kVstTempoValid, nullptr, 0.0f));
    times.push_back(time != nullptr ? *time : VstTimeInfo{});
    inputsSeen.resize(static_cast<std::size_t>(record.numInputs));
    history.resize(static_cast<std::size_t>(record.numOutputs));
    for (int input = 0; input < record.numInputs; ++input) {
        inputsSeen[input].insert(inputsSeen[input].end(), inputs[input], inputs[input] + frames);
    }
    for (int output = 0; output < record.numOutputs; ++output) {
        std::vector<float>& line = history[output];
        for (int frame = 0; frame < frames; ++frame) {
            const float in = record.numInputs > 0 ? inputs[output % record.numInputs][frame] : 0.0f;
            line.push_back(gain * in);
            const std::size_t lag = line.size() - 1;
            const float delayed =
                lag >= static_cast<std::size_t>(delayFrames) ? line[lag - delayFrames] : 0.0f;
            outputs[output][frame] =
                (accumulate ? outputs[output][frame] : 0.0f) + delayed + offset;
        }
    }
}

void VSTCALLBACK FakeEffect::processReplacing(AEffect* effect, float** inputs, float** outputs,
                                              VstInt32 frames) {
    fakeOf(effect).run(inputs, outputs, frames, false);
}

void VSTCALLBACK FakeEffect::process(AEffect* effect, float** inputs, float** outputs,
                                     VstInt32 frames) {
    fakeOf(effect).run(inputs, outputs, frames, true);
}

void VSTCALLBACK FakeEffect::setParameter(AEffect* effect, VstInt32 index, float value) {
    FakeEffect& fake = fakeOf(effect);
    if (index == 0) {
        fake.gain = value;
    }
    // Like an editor moving a control: the host hears of it.
    fake.host(effect, audioMasterAutomate, index, 0, nullptr, value);
}

float VSTCALLBACK FakeEffect::getParameter(AEffect* effect, VstInt32 index) {
    return index == 0 ? fakeOf(effect).gain : 0.0f;
}
