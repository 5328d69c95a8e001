// automation: a host's automation, program changes and queries between the blocks of running
// audio, with the values careless hosts and broken sessions send.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/GuardedText.h"
#include "tools/validator/SampleScan.h"
#include "tools/validator/ScratchDirectory.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>

namespace {

constexpr int kFramesPerChange = 32; // automation resolution
constexpr double kSecondsPerRound = 2.0;
constexpr int kChunksPerHostEvent = 64; // a program change, a name or a query, every so often

// Indices beyond the parameters that hosts and editors send to getParameter and setParameter.
VstInt32 unusualIndex(Random& random, const EffectUnderTest& effect) {
    const VstInt32 queries[] = {1000, 1001, 1002, 1003, 1004, 1005,    1006,   1007,
                                1100, 998,  999,  1200, -1,   INT_MIN, INT_MAX};
    if (random.chance(0.2)) {
        return effect.numParameters() + static_cast<VstInt32>(random.below(1000));
    }
    return queries[random.below(std::size(queries))];
}

std::string randomName(Random& random) {
    std::string name(random.below(HostBufferSize::kProgramName), ' ');
    for (char& c : name) {
        c = static_cast<char>(random.between(32, 126));
    }
    return name;
}

void checkText(GuardedText& text, const std::string& what) {
    const std::string problem = text.problem();
    expect(problem.empty(), what + ": the effect " + problem);
}

// A program change, a program name, a display text or a query beyond the parameters.
void hostEvent(EffectUnderTest& effect, Random& random, const std::string& where) {
    switch (random.below(5)) {
    case 0: {
        const int program = random.between(-1, effect.numPrograms());
        Progress::step("effSetProgram " + std::to_string(program) + " at " + where);
        effect.dispatch(effSetProgram, 0, program);
        break;
    }
    case 1: {
        GuardedText name(HostBufferSize::kProgramName, randomName(random));
        Progress::step("effSetProgramName \"" + name.text() + "\" at " + where);
        effect.dispatch(effSetProgramName, 0, 0, name.data());
        expect(name.damagedGuard().empty(),
               "effSetProgramName at " + where + ": the effect " + name.damagedGuard());
        GuardedText read(HostBufferSize::kProgramName);
        effect.dispatch(effGetProgramName, 0, 0, read.data());
        checkText(read, "effGetProgramName at " + where);
        break;
    }
    case 2: {
        const VstInt32 index = effect.numParameters() > 0
                                   ? static_cast<VstInt32>(random.below(
                                         static_cast<std::uint32_t>(effect.numParameters())))
                                   : 0;
        GuardedText display(HostBufferSize::kParameterText);
        effect.dispatch(effGetParamDisplay, index, 0, display.data());
        checkText(display,
                  "effGetParamDisplay of parameter " + std::to_string(index) + " at " + where);
        break;
    }
    case 3: {
        const VstInt32 index = unusualIndex(random, effect);
        Progress::step("getParameter " + std::to_string(index) + " at " + where);
        effect.getParameter(index);
        break;
    }
    default: {
        const VstInt32 index = unusualIndex(random, effect);
        const float value = random.parameterValue();
        Progress::step("setParameter " + std::to_string(index) + " = " + describeValue(value) +
                       " at " + where);
        effect.setParameter(index, value);
        break;
    }
    }
}

} // namespace

CheckResult checkAutomation(const CheckContext& context) {
    // Effects may write files where they run (veltrane's command index 1200 writes its dump).
    const ScratchDirectory scratch;
    long changes = 0;
    forEachRound(context, [&](Random& random) {
        EffectUnderTest effect(context.entryPoint);
        const float rate = kSampleRates[random.below(std::size(kSampleRates))];
        effect.start(rate, 1024);
        const int shared = std::max(effect.numInputs(), effect.numOutputs());
        GuardedChannels inputs(effect.numInputs(), kFramesPerChange);
        GuardedChannels outputs(effect.numOutputs(), kFramesPerChange);
        GuardedChannels inPlace(shared, kFramesPerChange);
        const long chunks = static_cast<long>(rate * kSecondsPerRound) / kFramesPerChange;
        for (long chunk = 0; chunk < chunks; ++chunk) {
            const std::string where = std::to_string(static_cast<long>(rate)) + " Hz, frame " +
                                      std::to_string(chunk * kFramesPerChange);
            std::string changed;
            for (int change = random.between(0, 3); change > 0 && effect.numParameters() > 0;
                 --change) {
                const auto index = static_cast<VstInt32>(
                    random.below(static_cast<std::uint32_t>(effect.numParameters())));
                const float value = random.parameterValue();
                effect.setParameter(index, value);
                changed += (changed.empty() ? " after parameter " : ", parameter ") +
                           std::to_string(index) + " = " + describeValue(value);
                ++changes;
            }
            if (chunk % kChunksPerHostEvent == kChunksPerHostEvent - 1) {
                hostEvent(effect, random, where);
            }
            const ProcessCall call =
                canRun(effect, ProcessCall::Replacing) &&
                        (!canRun(effect, ProcessCall::Accumulating) || random.chance(0.5))
                    ? ProcessCall::Replacing
                    : ProcessCall::Accumulating;
            const bool together = random.chance(0.25);
            GuardedChannels& in = together ? inPlace : inputs;
            in.fillNoise(random, 0.5f);
            outputs.fill(0.0f);
            processChecked(effect, call, in, outputs, together, where + changed);
        }
    });
    return CheckResult::passed(std::to_string(changes) +
                               " parameter changes with unusual values every 32 frames, with "
                               "program changes, names, displays and queries between");
}
