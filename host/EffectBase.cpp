#include "host/EffectBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr VstInt32 kProvisionalUniqueId = fourCharacterCode('N', 'o', 'E', 'f');
constexpr VstInt32 kIdentifyAnswer = fourCharacterCode('N', 'v', 'E', 'f');
constexpr VstInt32 kEffectVersion = 1;
constexpr VstInt32 kDefaultBlockSize = 1024;
// The meter's full scale as the host reads it.
constexpr float kVuScale = 32767.0f;

constexpr char kHugeText[] = " Huge!  ";
constexpr char kMinusInfinityText[] = "  -oo   ";
// The text helpers' width, sign and point included.
constexpr int kTextWidth = EffectBase::kValueTextSize - 1;

// Writes at most the first kTextWidth characters of source.
void writeText(char* text, const char* source) {
    std::snprintf(text, EffectBase::kValueTextSize, "%.*s", kTextWidth, source);
}

// Truncates toward zero; NaN reads as 0 and the rest saturates, so no value is undefined.
VstIntPtr truncateToInteger(float value) {
    if (!(value == value)) {
        return 0;
    }
    constexpr float kLimit = 2147483648.0f; // 2^31
    if (value >= kLimit) {
        return std::numeric_limits<VstInt32>::max();
    }
    if (value <= -kLimit) {
        return std::numeric_limits<VstInt32>::min();
    }
    return static_cast<VstIntPtr>(value);
}

EffectBase* effectObject(AEffect* effect) {
    if (effect == nullptr) {
        return nullptr;
    }
    return static_cast<EffectBase*>(effect->object);
}

} // namespace

EffectBase::EffectBase(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams)
    : hostCallback(host), numPrograms(numPrograms < 0 ? 0 : numPrograms),
      numParams(numParams < 0 ? 0 : numParams), blockSize(kDefaultBlockSize), effectRecord{} {
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = &EffectBase::dispatchEntry;
    effectRecord.process = &EffectBase::processEntry;
    effectRecord.setParameter = &EffectBase::setParameterEntry;
    effectRecord.getParameter = &EffectBase::getParameterEntry;
    effectRecord.processReplacing = &EffectBase::processReplacingEntry;
    effectRecord.numPrograms = this->numPrograms;
    effectRecord.numParams = this->numParams;
    // Provisional until the plug-in's constructor sets its own.
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.uniqueID = kProvisionalUniqueId;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.version = kEffectVersion;
}

EffectBase::~EffectBase() {
    // Unregister first: the editor's destructor may call setEditor(nullptr).
    const std::unique_ptr<EditorInterface> owned(editor);
    setEditor(nullptr);
}

void EffectBase::setParameter(VstInt32 /*index*/, float /*value*/) {}

float EffectBase::getParameter(VstInt32 /*index*/) const {
    return 0.0f;
}

void EffectBase::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void EffectBase::processReplacing(float** /*inputs*/, float** /*outputs*/,
                                  VstInt32 /*sampleFrames*/) noexcept {}

VstIntPtr EffectBase::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    char* const text = static_cast<char*>(ptr);
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        // Negative numbers would select no slot either.
        if (value >= 0 && value < numPrograms) {
            setProgram(static_cast<VstInt32>(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text != nullptr) {
            setProgramName(text);
        }
        return 0;
    case effGetProgramName:
        if (text != nullptr) {
            getProgramName(text);
        }
        return 0;
    case effGetParamLabel:
        if (text != nullptr) {
            getParameterLabel(index, text);
        }
        return 0;
    case effGetParamDisplay:
        if (text != nullptr) {
            getParameterDisplay(index, text);
        }
        return 0;
    case effGetParamName:
        if (text != nullptr) {
            getParameterName(index, text);
        }
        return 0;
    case effGetVu:
        return truncateToInteger(getVu() * kVuScale);
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(narrowToInt32(value));
        return 0;
    case effMainsChanged:
        if (value == 0) {
            suspend();
        } else {
            resume();
        }
        return 0;
    case effEditGetRect:
        if (editor == nullptr || ptr == nullptr) {
            return 0;
        }
        return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor != nullptr && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor != nullptr) {
            editor->close();
        }
        return 0;
    case effEditIdle:
        if (editor != nullptr) {
            editor->idle();
        }
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        if (ptr == nullptr) {
            return 0;
        }
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, narrowToInt32(value), index != 0);
    default:
        return 0;
    }
}

void EffectBase::open() {}

void EffectBase::close() {}

VstInt32 EffectBase::getProgram() const {
    return currentProgram;
}

void EffectBase::setProgram(VstInt32 program) {
    currentProgram = program;
}

void EffectBase::setProgramName(char* name) {
    name[0] = '\0';
}

void EffectBase::getProgramName(char* name) const {
    name[0] = '\0';
}

void EffectBase::getParameterLabel(VstInt32 /*index*/, char* label) const {
    label[0] = '\0';
}

void EffectBase::getParameterDisplay(VstInt32 /*index*/, char* text) const {
    text[0] = '\0';
}

void EffectBase::getParameterName(VstInt32 /*index*/, char* text) const {
    text[0] = '\0';
}

float EffectBase::getVu() const {
    return 0.0f;
}

VstInt32 EffectBase::getChunk(void** /*data*/, bool /*isPreset*/) {
    return 0;
}

VstInt32 EffectBase::setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/) {
    return 0;
}

void EffectBase::setSampleRate(float newSampleRate) {
    // Filters and modulation divide by the rate.
    if (std::isfinite(newSampleRate) && newSampleRate > 0.0f) {
        sampleRate.store(newSampleRate, std::memory_order_relaxed);
    }
}

void EffectBase::setBlockSize(VstInt32 newBlockSize) {
    blockSize = newBlockSize;
}

void EffectBase::suspend() {}

void EffectBase::resume() {}

void EffectBase::setUniqueId(VstInt32 uniqueId) {
    effectRecord.uniqueID = uniqueId;
}

void EffectBase::setNumInputs(VstInt32 inputs) {
    effectRecord.numInputs = inputs;
}

void EffectBase::setNumOutputs(VstInt32 outputs) {
    effectRecord.numOutputs = outputs;
}

void EffectBase::hasVu(bool state) {
    setFlag(effFlagsHasVu, state);
}

void EffectBase::hasClip(bool state) {
    setFlag(effFlagsHasClip, state);
}

void EffectBase::canMono(bool state) {
    setFlag(effFlagsCanMono, state);
}

void EffectBase::canProcessReplacing(bool state) {
    setFlag(effFlagsCanReplacing, state);
}

void EffectBase::programsAreChunks(bool state) {
    setFlag(effFlagsProgramChunks, state);
}

void EffectBase::setRealtimeQualities(VstInt32 qualities) {
    effectRecord.realQualities = qualities;
}

void EffectBase::setOfflineQualities(VstInt32 qualities) {
    effectRecord.offQualities = qualities;
}

void EffectBase::setInitialDelay(VstInt32 delay) {
    effectRecord.initialDelay = delay;
}

float EffectBase::getSampleRate() const {
    return sampleRate.load(std::memory_order_relaxed);
}

VstInt32 EffectBase::getBlockSize() const {
    return blockSize;
}

VstIntPtr EffectBase::hostVersion() {
    const VstIntPtr answer = callHost(audioMasterVersion);
    return answer != 0 ? answer : 1;
}

VstIntPtr EffectBase::hostCurrentId() {
    return callHost(audioMasterCurrentId);
}

void EffectBase::hostIdle() {
    callHost(audioMasterIdle);
}

bool EffectBase::isInputConnected(VstInt32 input) {
    return hostCallback != nullptr && callHost(audioMasterPinConnected, input, 0) == 0;
}

bool EffectBase::isOutputConnected(VstInt32 output) {
    return hostCallback != nullptr && callHost(audioMasterPinConnected, output, 1) == 0;
}

void EffectBase::decibelsToText(float value, char* text) const {
    if (value <= 0.0f) {
        writeText(text, kMinusInfinityText);
        return;
    }
    floatToText(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text);
}

void EffectBase::hertzToText(float samples, char* text) const {
    if (samples == 0.0f) {
        floatToText(0.0f, text);
        return;
    }
    floatToText(getSampleRate() / samples, text);
}

void EffectBase::millisecondsToText(float samples, char* text) const {
    floatToText(samples * 1000.0f / getSampleRate(), text);
}

void EffectBase::floatToText(float value, char* text) const {
    double v = value;
    // NaN has no digits to show; it reads like the out-of-range values.
    if (std::isnan(v) || v < -9999999.0 || v > 99999999.0) {
        writeText(text, kHugeText);
        return;
    }
    const bool negative = v < 0.0;
    int count = 0;
    if (negative) {
        v = -v;
        count = 1;
    }

    // The integer part goes right to left in front of the point. Multiplying by 0.1 rather
    // than dividing by 10 fixes which digit a float's inexact remainder gives.
    char integerPart[kTextWidth + 2];
    int start = kTextWidth + 1;
    integerPart[start] = '\0';
    integerPart[--start] = '.';
    ++count;
    double n = std::trunc(v);
    integerPart[--start] = static_cast<char>('0' + static_cast<int>(std::fmod(n, 10.0)));
    ++count;
    n *= 0.1;
    while (n >= 1.0 && count < kTextWidth) {
        integerPart[--start] = static_cast<char>('0' + static_cast<int>(std::fmod(n, 10.0)));
        ++count;
        n *= 0.1;
    }
    if (negative) {
        integerPart[--start] = '-';
    }

    char fraction[kTextWidth + 1];
    const int digits = count < kTextWidth ? kTextWidth - count : 0;
    double m = std::fmod(v, 1.0);
    for (int d = 0; d < digits; ++d) {
        m *= 10.0;
    }
    fraction[digits] = '\0';
    for (int d = digits - 1; d >= 0; --d) {
        if (m <= 0.0) {
            fraction[d] = '0';
        } else {
            fraction[d] = static_cast<char>('0' + static_cast<int>(std::fmod(m, 10.0)));
            m *= 0.1;
        }
    }
    // The two parts hold kTextWidth characters together; joined apart from text, so that the
    // compiler need not prove that.
    char joined[sizeof integerPart + sizeof fraction];
    std::snprintf(joined, sizeof joined, "%s%s", integerPart + start, fraction);
    writeText(text, joined);
}

void EffectBase::integerToText(VstInt32 value, char* text) const {
    constexpr VstInt32 kHugeInteger = 100000000;
    if (value >= kHugeInteger) {
        writeText(text, kHugeText);
        return;
    }
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%7d", static_cast<int>(value));
    // Longer results keep their first 8 characters.
    writeText(text, formatted);
}

void EffectBase::setEditor(EditorInterface* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

VstIntPtr EffectBase::dispatchEntry(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                    VstIntPtr value, void* ptr, float opt) {
    EffectBase* const object = effectObject(effect);
    if (object == nullptr) {
        return 0;
    }
    if (opcode == effClose) {
        object->dispatch(opcode, index, value, ptr, opt);
        delete object;
        return 1;
    }
    return object->dispatch(opcode, index, value, ptr, opt);
}

void EffectBase::processEntry(AEffect* effect, float** inputs, float** outputs,
                              VstInt32 sampleFrames) noexcept {
    if (EffectBase* const object = effectObject(effect)) {
        object->process(inputs, outputs, sampleFrames);
    }
}

void EffectBase::processReplacingEntry(AEffect* effect, float** inputs, float** outputs,
                                       VstInt32 sampleFrames) noexcept {
    if (EffectBase* const object = effectObject(effect)) {
        object->processReplacing(inputs, outputs, sampleFrames);
    }
}

void EffectBase::setParameterEntry(AEffect* effect, VstInt32 index, float value) {
    if (EffectBase* const object = effectObject(effect)) {
        object->setParameter(index, value);
    }
}

float EffectBase::getParameterEntry(AEffect* effect, VstInt32 index) {
    if (EffectBase* const object = effectObject(effect)) {
        return object->getParameter(index);
    }
    return 0.0f;
}

VstInt32 EffectBase::narrowToInt32(VstIntPtr value) {
    if (value > std::numeric_limits<VstInt32>::max()) {
        return std::numeric_limits<VstInt32>::max();
    }
    if (value < std::numeric_limits<VstInt32>::min()) {
        return std::numeric_limits<VstInt32>::min();
    }
    return static_cast<VstInt32>(value);
}

VstIntPtr EffectBase::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) noexcept {
    if (hostCallback == nullptr) {
        return 0;
    }
    return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}

void EffectBase::setFlag(VstInt32 flag, bool state) {
    if (state) {
        effectRecord.flags |= flag;
    } else {
        effectRecord.flags &= ~flag;
    }
}
