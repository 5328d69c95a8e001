#include "tools/validator/EffectUnderTest.h"

#include "tools/validator/CheckResult.h"

#include <array>
#include <cstring>
#include <string>

namespace {

// The effects alive in this process, found by their record without a lock; a slot is given
// back when its effect is closed. Effects beyond the slots get no answers that need their host.
constexpr std::size_t kMaxLiveEffects = 64;
std::array<std::atomic<AEffect*>, kMaxLiveEffects> liveRecords{};
std::array<std::atomic<EffectUnderTest*>, kMaxLiveEffects> liveHosts{};
// The effect whose entry point is running: its record does not exist yet.
std::atomic<EffectUnderTest*> opening{nullptr};

EffectUnderTest* hostOf(AEffect* effect) {
    if (effect != nullptr) {
        for (std::size_t slot = 0; slot < kMaxLiveEffects; ++slot) {
            if (liveRecords[slot].load(std::memory_order_acquire) == effect) {
                return liveHosts[slot].load(std::memory_order_acquire);
            }
        }
    }
    return opening.load(std::memory_order_acquire);
}

void copyText(void* ptr, const char* text) {
    if (ptr != nullptr) {
        std::strncpy(static_cast<char*>(ptr), text, kVstMaxVendorStrLen - 1);
        static_cast<char*>(ptr)[kVstMaxVendorStrLen - 1] = '\0';
    }
}

} // namespace

EffectUnderTest::EffectUnderTest(VstEntryPointProc entryPoint) {
    opening.store(this, std::memory_order_release);
    AEffect* const made = entryPoint(&EffectUnderTest::hostCallback);
    opening.store(nullptr, std::memory_order_release);
    expect(made != nullptr, "the entry point returned no effect");
    expect(made->magic == kEffectMagic, "the entry point returned a record without the VST 2.x "
                                        "magic number");
    expect(made->dispatcher != nullptr, "the record has no dispatcher");
    if (made->numInputs < 0 || made->numInputs > kMaxChannels || made->numOutputs < 0 ||
        made->numOutputs > kMaxChannels) {
        made->dispatcher(made, effClose, 0, 0, nullptr, 0.0f);
        throw CheckFailure("the record announces " + std::to_string(made->numInputs) +
                           " inputs and " + std::to_string(made->numOutputs) + " outputs");
    }
    effect = made;
    // Creation happens on one thread only, so a free slot stays free until it is taken here.
    for (std::size_t slot = 0; slot < kMaxLiveEffects; ++slot) {
        if (liveRecords[slot].load(std::memory_order_acquire) == nullptr) {
            liveHosts[slot].store(this, std::memory_order_release);
            liveRecords[slot].store(effect, std::memory_order_release);
            break;
        }
    }
    timeInfo.sampleRate = rate.load();
    timeInfo.tempo = kTempo;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
    dispatch(effOpen);
}

EffectUnderTest::~EffectUnderTest() {
    close();
}

void EffectUnderTest::close() {
    if (effect == nullptr) {
        return;
    }
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    for (std::size_t slot = 0; slot < kMaxLiveEffects; ++slot) {
        AEffect* expected = effect;
        liveRecords[slot].compare_exchange_strong(expected, nullptr);
    }
    effect = nullptr;
}

VstIntPtr EffectUnderTest::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                    float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void EffectUnderTest::setParameter(VstInt32 index, float value) {
    if (effect->setParameter != nullptr) {
        effect->setParameter(effect, index, value);
    }
}

float EffectUnderTest::getParameter(VstInt32 index) {
    return effect->getParameter != nullptr ? effect->getParameter(effect, index) : 0.0f;
}

void EffectUnderTest::start(float sampleRate, VstInt32 frames) {
    rate.store(sampleRate, std::memory_order_relaxed);
    blockSize.store(frames, std::memory_order_relaxed);
    timeInfo.sampleRate = sampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, frames);
    resume();
}

void EffectUnderTest::suspend() {
    dispatch(effMainsChanged, 0, 0);
}

void EffectUnderTest::resume() {
    dispatch(effMainsChanged, 0, 1);
}

long EffectUnderTest::tailFrames(double defaultSeconds) {
    const VstIntPtr reported = dispatch(effGetTailSize);
    constexpr VstIntPtr kLongestBelievableTail = 60 * 192000;
    if (reported > 1 && reported <= kLongestBelievableTail) {
        return static_cast<long>(reported);
    }
    return static_cast<long>(defaultSeconds * sampleRate());
}

void EffectUnderTest::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    if (effect->processReplacing != nullptr) {
        effect->processReplacing(effect, inputs, outputs, frames);
        moveTransport(frames);
    }
}

void EffectUnderTest::process(float** inputs, float** outputs, VstInt32 frames) {
    if (effect->process != nullptr) {
        effect->process(effect, inputs, outputs, frames);
        moveTransport(frames);
    }
}

void EffectUnderTest::rewindTransport() {
    timeInfo.samplePos = 0.0;
    timeInfo.ppqPos = 0.0;
}

void EffectUnderTest::moveTransport(VstInt32 frames) {
    if (frames > 0) {
        timeInfo.samplePos += frames;
        timeInfo.ppqPos = timeInfo.samplePos / timeInfo.sampleRate * kTempo / 60.0;
    }
}

VstIntPtr VSTCALLBACK EffectUnderTest::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32,
                                                    VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterVersion) {
        return kHostVersion;
    }
    EffectUnderTest* const host = hostOf(effect);
    return host != nullptr ? host->answer(opcode, ptr) : 0;
}

VstIntPtr EffectUnderTest::answer(VstInt32 opcode, void* ptr) {
    switch (opcode) {
    case audioMasterAutomate:
        automations.fetch_add(1, std::memory_order_relaxed);
        return 0;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(rate.load(std::memory_order_relaxed));
    case audioMasterGetBlockSize:
        return blockSize.load(std::memory_order_relaxed);
    case audioMasterGetVendorString:
        copyText(ptr, "veltrane");
        return 1;
    case audioMasterGetProductString:
        copyText(ptr, "veltrane-validate");
        return 1;
    case audioMasterGetVendorVersion:
        return 1;
    case audioMasterGetLanguage:
        return 1; // English
    case audioMasterSizeWindow:
        return 1;
    default:
        return 0;
    }
}
