#include "effect/FeedbackEffect.h"

#include "effect/ParameterTable.h"
#include "effect/ProgramDump.h"
#include "engine/Transport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace {

constexpr VstInt32 kNumChannels = 2;

// The host's transport as the engine reads it, asked for at most once per block on the audio
// thread.
class HostTimeTransport final : public engine::TransportSource {
public:
    explicit HostTimeTransport(ExtendedEffectBase& effect) : effect(effect) {}

    bool readTransport(engine::HostTransport& transport) noexcept override {
        const VstTimeInfo* const time = effect.hostGetTime(kVstPpqPosValid | kVstTempoValid);
        if (time == nullptr) {
            return false;
        }
        transport.ppqPos = time->ppqPos;
        transport.tempo = time->tempo;
        transport.sampleRate = time->sampleRate;
        return true;
    }

private:
    ExtendedEffectBase& effect;
};

} // namespace

FeedbackEffect::FeedbackEffect(audioMasterCallback host)
    : ExtendedEffectBase(host, kNumPrograms, ParameterIndex::kNumParameters) {
    writeFactoryPresets();
    setNumInputs(kNumChannels);
    setNumOutputs(kNumChannels);
    setUniqueId(kUniqueId);
    canMono(true);
    canProcessReplacing(true);
    // Program 0 is made current directly, not through setProgram.
    currentProgram = 0;
    for (int index = 0; index < ParameterIndex::kNumParameters; ++index) {
        setParameter(index, programs[0].getParam(index));
    }
    updateEngine();
}

FeedbackEffect::~FeedbackEffect() = default;

void FeedbackEffect::setParameter(VstInt32 index, float value) {
    if (std::isnan(value)) {
        value = 0.0f;
    }
    if (index == ParameterIndex::kCommandResetEngine) {
        resetEngine();
    } else if (index == ParameterIndex::kCommandDumpProgram) {
        dumpProgram();
    } else {
        engine.storeParameter(index, value); // ignores indices that name no parameter
    }
    updateEngine();
    if (isParameterIndex(index)) {
        currentSlot().setParam(index, value); // the value as given, before quantisation
    }
    if (editor != nullptr) {
        editor->postUpdate(); // may run on any thread; the editor only takes note
    }
}

float FeedbackEffect::getParameter(VstInt32 index) const {
    return engine.getParameter(index);
}

// The engine refuses missing channel buffers itself.
void FeedbackEffect::process(float** inputs, float** outputs, VstInt32 sampleFrames) noexcept {
    runEngine(inputs, outputs, sampleFrames, engine::OutputMode::Accumulate);
}

void FeedbackEffect::processReplacing(float** inputs, float** outputs,
                                      VstInt32 sampleFrames) noexcept {
    runEngine(inputs, outputs, sampleFrames, engine::OutputMode::Replace);
}

void FeedbackEffect::runEngine(float** inputs, float** outputs, VstInt32 sampleFrames,
                               engine::OutputMode mode) noexcept {
    HostTimeTransport transport(*this);
    engine.process(inputs, outputs, sampleFrames, mode, sampleRate.load(std::memory_order_relaxed),
                   &transport);
}

void FeedbackEffect::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) {
        return;
    }
    currentProgram = program;
    for (int index = 0; index < ParameterIndex::kNumParameters; ++index) {
        setParameter(index, programs[program].getParam(index));
    }
}

void FeedbackEffect::setProgramName(char* name) {
    currentSlot().setName(name);
}

void FeedbackEffect::getProgramName(char* name) const {
    std::string text = currentSlot().name();
    if (text == "Init") {
        text += " " + std::to_string(currentProgram + 1);
    }
    // At most 23 characters and the zero, the room hosts give a program name.
    const std::size_t length = std::min<std::size_t>(text.size(), ProgramSlot::kNameSize - 1);
    std::memcpy(name, text.data(), length);
    name[length] = '\0';
}

void FeedbackEffect::getParameterLabel(VstInt32 index, char* label) const {
    if (isParameterIndex(index)) {
        std::strcpy(label, kParameterLabel);
    }
}

void FeedbackEffect::getParameterDisplay(VstInt32 index, char* text) const {
    if (!isParameterIndex(index)) {
        return;
    }
    const float value = engine.getParameter(index);
    if (const char* const state = enumerationText(parameterInfo(index).kind, value)) {
        std::strcpy(text, state);
    } else {
        floatToText(value, text);
    }
}

void FeedbackEffect::getParameterName(VstInt32 index, char* text) const {
    if (isParameterIndex(index)) {
        std::strcpy(text, parameterInfo(index).name);
    }
}

void FeedbackEffect::suspend() {
    engine.suspend();
}

void FeedbackEffect::resume() {
    engine.resume(sampleRate.load(std::memory_order_relaxed));
}

bool FeedbackEffect::getProgramNameIndexed(VstInt32 /*category*/, VstInt32 index,
                                           char* text) const {
    if (index >= 0 && index < kNumPrograms) {
        std::strcpy(text, programs[index].name());
    }
    return true;
}

bool FeedbackEffect::getVendorString(char* text) const {
    std::strcpy(text, "Tolvane");
    return true;
}

bool FeedbackEffect::getProductString(char* text) const {
    std::strcpy(text, "veltrane");
    return true;
}

void FeedbackEffect::resetEngine() {
    engine.resetEngine();
}

void FeedbackEffect::updateEngine() {
    engine.updateEngine();
}

VstInt32 FeedbackEffect::getCurrentStep() const {
    return engine.getCurrentStep();
}

void FeedbackEffect::dumpProgram() {
    ParameterValues values{};
    for (int index = 0; index < ParameterIndex::kNumParameters; ++index) {
        values[index] = getParameter(index);
    }
    // Without a writable current directory there is simply no dump; the effect is unchanged.
    writeProgramDump(kProgramDumpFileName, values);
}

void FeedbackEffect::writeFactoryPresets() {
    for (int slot = 0; slot < kNumPrograms; ++slot) {
        programs[slot].setName(factoryPresetName(slot));
        const ParameterValues values = factoryPresetValues(slot);
        for (int index = 0; index < ParameterIndex::kNumParameters; ++index) {
            programs[slot].setParam(index, values[index]);
        }
    }
}

// setProgram lets only slot numbers into currentProgram; the check keeps the access inside the
// array whatever the base class stores there.
ProgramSlot& FeedbackEffect::currentSlot() {
    return programs[currentProgram >= 0 && currentProgram < kNumPrograms ? currentProgram : 0];
}

const ProgramSlot& FeedbackEffect::currentSlot() const {
    return programs[currentProgram >= 0 && currentProgram < kNumPrograms ? currentProgram : 0];
}
