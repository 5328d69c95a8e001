// audio-formats: every rate, block size, entry function and buffer placement a host may use.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr double kSecondsPerSetting = 0.1; // of audio per setting, times --repeat
constexpr int kSmallAnnouncedBlockSize = 64;
constexpr int kBlocksPastAnnounced[] = {kSmallAnnouncedBlockSize + 1, 4096};

void runSetting(EffectUnderTest& effect, Random& random, ProcessCall call, bool inPlace,
                int blockSize, long frames) {
    const int shared = std::max(effect.numInputs(), effect.numOutputs());
    GuardedChannels inputs(inPlace ? shared : effect.numInputs(), blockSize);
    GuardedChannels outputs(inPlace ? 0 : effect.numOutputs(), blockSize);
    const std::string setting = describeSetting(effect.sampleRate(), blockSize, call, inPlace);
    Progress::step(setting);
    for (long done = 0; done < frames; done += blockSize) {
        inputs.fillNoise(random, 0.5f);
        if (call == ProcessCall::Accumulating) {
            outputs.fillNoise(random, 0.1f); // what earlier plug-ins left there
        }
        processChecked(effect, call, inputs, outputs, inPlace,
                       setting + ", frame " + std::to_string(done));
    }
}

} // namespace

CheckResult checkAudioFormats(const CheckContext& context) {
    Random random(context.options.seed);
    std::string missing;
    for (const float rate : kSampleRates) {
        EffectUnderTest effect(context.entryPoint);
        effect.start(rate, kAnnouncedBlockSize);
        for (const ProcessCall call : {ProcessCall::Replacing, ProcessCall::Accumulating}) {
            if (!canRun(effect, call)) {
                missing = std::string("; the record has no ") + nameOf(call);
            }
        }
        const long frames = static_cast<long>(rate * kSecondsPerSetting * context.options.repeat);
        for (const ProcessCall call : {ProcessCall::Replacing, ProcessCall::Accumulating}) {
            for (const bool inPlace : {false, true}) {
                for (const int blockSize : kBlockSizes) {
                    if (canRun(effect, call)) {
                        runSetting(effect, random, call, inPlace, blockSize,
                                   std::max(frames, 2L * blockSize));
                    }
                }
            }
        }
        // A host may send more frames than it announced.
        effect.suspend();
        effect.dispatch(effSetBlockSize, 0, kSmallAnnouncedBlockSize);
        effect.resume();
        for (const ProcessCall call : {ProcessCall::Replacing, ProcessCall::Accumulating}) {
            for (const bool inPlace : {false, true}) {
                for (const int blockSize : kBlocksPastAnnounced) {
                    if (canRun(effect, call)) {
                        runSetting(effect, random, call, inPlace, blockSize, 2L * blockSize);
                    }
                }
            }
        }
    }
    return CheckResult::passed(
        std::to_string(std::size(kSampleRates)) + " rates x " +
        std::to_string(std::size(kBlockSizes) + std::size(kBlocksPastAnnounced)) +
        " block sizes x 2 calls x in place and apart" + missing);
}
