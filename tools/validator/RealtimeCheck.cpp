// realtime: the audio thread's calls never wait on the heap, a lock or the kernel. The calls
// run on a thread of their own whose system calls are trapped; heap and lock calls are counted
// through the validator's own definitions (see CallCounter.h).
#include "tools/validator/CallCounter.h"
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"

#include <array>
#include <iterator>
#include <thread>
#include <vector>

namespace {

constexpr int kLongestBlock = 1024;
constexpr int kBlocksPerRound = 2000;

struct Step {
    int frames;
    ProcessCall call;
    int parameterChanges; // up to three, before the block
    std::array<VstInt32, 3> index;
    std::array<float, 3> value;
};

struct Findings {
    CallCounts counts;
    const char* entry = nullptr; // the first entry function that made a counted call
    int step = -1;
    bool trapped = false;
    std::string whyNotTrapped;
};

std::vector<Step> planSteps(Random& random, const EffectUnderTest& effect) {
    std::vector<Step> plan(kBlocksPerRound);
    for (Step& step : plan) {
        step.frames = random.chance(0.2) ? random.between(1, 64) : random.between(1, kLongestBlock);
        step.call = canRun(effect, ProcessCall::Replacing) &&
                            (!canRun(effect, ProcessCall::Accumulating) || random.chance(0.5))
                        ? ProcessCall::Replacing
                        : ProcessCall::Accumulating;
        step.parameterChanges = effect.numParameters() > 0 ? random.between(0, 3) : 0;
        for (int change = 0; change < step.parameterChanges; ++change) {
            step.index[static_cast<std::size_t>(change)] = static_cast<VstInt32>(
                random.below(static_cast<std::uint32_t>(effect.numParameters())));
            // Ordinary values: the unusual ones are the automation check's.
            step.value[static_cast<std::size_t>(change)] = random.unit();
        }
    }
    return plan;
}

// Everything here runs while calls are counted: no allocation, no lock, no output.
void runCounted(EffectUnderTest& effect, const std::vector<Step>& plan, GuardedChannels& inputs,
                GuardedChannels& outputs, Findings& findings) {
    const auto note = [&](const char* entry, long before, int step) {
        if (findings.entry == nullptr && CallCounter::current().total() > before) {
            findings.entry = entry;
            findings.step = step;
        }
    };
    CallCounter::start();
    for (std::size_t index = 0; index < plan.size(); ++index) {
        const Step& step = plan[index];
        const int number = static_cast<int>(index);
        for (int change = 0; change < step.parameterChanges; ++change) {
            const long before = CallCounter::current().total();
            effect.setParameter(step.index[static_cast<std::size_t>(change)],
                                step.value[static_cast<std::size_t>(change)]);
            note("setParameter", before, number);
        }
        const long before = CallCounter::current().total();
        if (step.call == ProcessCall::Replacing) {
            effect.processReplacing(inputs.pointers(), outputs.pointers(), step.frames);
        } else {
            effect.process(inputs.pointers(), outputs.pointers(), step.frames);
        }
        note(nameOf(step.call), before, number);
    }
    findings.counts = CallCounter::stop();
}

} // namespace

CheckResult checkRealtime(const CheckContext& context) {
    long calls = 0;
    std::string trapNote;
    forEachRound(context, [&](Random& random) {
        EffectUnderTest effect(context.entryPoint);
        const float rate = kSampleRates[random.below(std::size(kSampleRates))];
        effect.start(rate, kLongestBlock);
        const std::vector<Step> plan = planSteps(random, effect);
        GuardedChannels inputs(effect.numInputs(), kLongestBlock);
        GuardedChannels outputs(effect.numOutputs(), kLongestBlock);
        inputs.fillNoise(random, 0.5f);
        Progress::step(std::to_string(plan.size()) + " counted blocks at " +
                       std::to_string(static_cast<long>(rate)) + " Hz");

        Findings findings;
        findings.whyNotTrapped.reserve(256);
        std::thread audio([&] {
            findings.trapped = CallCounter::trapSystemCalls(findings.whyNotTrapped);
            runCounted(effect, plan, inputs, outputs, findings);
        });
        audio.join();
        if (!findings.trapped && !findings.whyNotTrapped.empty()) {
            trapNote = "; system calls not trapped: " + findings.whyNotTrapped;
        }
        for (const Step& step : plan) {
            calls += 1 + step.parameterChanges;
        }
        if (findings.counts.total() > 0) {
            std::string first = "outside the effect's entry functions";
            if (findings.entry != nullptr) {
                const Step& step = plan[static_cast<std::size_t>(findings.step)];
                const bool beforeBlock = findings.entry == std::string("setParameter");
                first = std::string("in ") + findings.entry + (beforeBlock ? " before " : ", ") +
                        "block " + std::to_string(findings.step) + " (" +
                        std::to_string(step.frames) + " frames at " +
                        std::to_string(static_cast<long>(rate)) + " Hz)";
            }
            throw CheckFailure(findings.counts.describe() +
                               " inside the audio thread's calls; the first " + first);
        }
    });
    const std::string note = context.countingNote.empty() ? "" : "; " + context.countingNote;
    return CheckResult::passed(std::to_string(calls) +
                               " audio-thread calls without one (counted: " +
                               CallCounter::coverage() + trapNote + note + ")");
}
