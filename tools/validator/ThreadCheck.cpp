// threads: a host's GUI thread sets parameters, changes programs and reads texts while its
// audio thread processes. Under ThreadSanitizer (the linux-tsan preset) a data race between
// the two ends the check's process with the sanitizer's report.
#include "tools/validator/BackgroundAudio.h"
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedText.h"

#include <iterator>

namespace {

constexpr int kBlockSize = 512;
constexpr int kActionsPerRound = 5000;
constexpr long kLeastBlocksPerRound = 200; // the GUI thread keeps on until the audio ran this long
constexpr std::uint64_t kAudioSeedOffset = 0x5EED; // the audio thread's noise

// One thing a host's GUI thread does.
void actAtRandom(EffectUnderTest& effect, Random& random) {
    const int parameters = effect.numParameters();
    switch (random.below(10)) {
    case 0:
        if (effect.numPrograms() > 0) {
            effect.dispatch(effSetProgram, 0,
                            random.below(static_cast<std::uint32_t>(effect.numPrograms())));
        }
        break;
    case 1: {
        GuardedText display(HostBufferSize::kParameterText);
        const VstInt32 index = static_cast<VstInt32>(
            random.below(static_cast<std::uint32_t>(parameters > 0 ? parameters : 1)));
        effect.dispatch(effGetParamDisplay, index, 0, display.data());
        const std::string problem = display.problem();
        expect(problem.empty(), "effGetParamDisplay of parameter " + std::to_string(index) +
                                    " while audio runs: the effect " + problem);
        break;
    }
    case 2: {
        GuardedText name(HostBufferSize::kProgramName,
                         "Thread " + std::to_string(random.below(100)));
        effect.dispatch(effSetProgramName, 0, 0, name.data());
        GuardedText read(HostBufferSize::kProgramName);
        effect.dispatch(effGetProgramName, 0, 0, read.data());
        const std::string problem = read.problem();
        expect(problem.empty(), "effGetProgramName while audio runs: the effect " + problem);
        break;
    }
    case 3:
        // Display queries and ordinary reads, as an editor polls them.
        effect.getParameter(random.chance(0.5) ? 1000 + random.between(0, 7)
                                               : random.between(0, parameters - 1));
        break;
    default:
        // Ordinary values: the unusual ones are the automation check's.
        if (parameters > 0) {
            effect.setParameter(
                static_cast<VstInt32>(random.below(static_cast<std::uint32_t>(parameters))),
                random.unit());
        }
        break;
    }
}

} // namespace

CheckResult checkThreads(const CheckContext& context) {
    long blocks = 0;
    long actions = 0;
    std::uint64_t seed = context.options.seed;
    forEachRound(context, [&](Random& random) {
        EffectUnderTest effect(context.entryPoint);
        effect.start(kSampleRates[random.below(std::size(kSampleRates))], kBlockSize);
        BackgroundAudio audio(effect, seed++ + kAudioSeedOffset, kBlockSize);
        audio.waitForBlocks(1);
        for (int action = 0; audio.running() &&
                             (action < kActionsPerRound || audio.blocks() < kLeastBlocksPerRound);
             ++action) {
            actAtRandom(effect, random);
            ++actions;
        }
        blocks += audio.stop();
    });
    return CheckResult::passed(std::to_string(actions) + " GUI-thread calls while " +
                               std::to_string(blocks) + " blocks ran on the audio thread");
}
