// What the checks share: the rounds of a randomised check, the rates a host runs at, and one
// block through the effect checked as a host would check it.
#pragma once

#include "tools/validator/CheckResult.h"
#include "tools/validator/Checks.h"
#include "tools/validator/Progress.h"
#include "tools/validator/Random.h"
#include "tools/validator/ValidatorOptions.h"

#include <cstdint>
#include <string>

class EffectUnderTest;
class GuardedChannels;

constexpr float kSampleRates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f};
constexpr int kBlockSizes[] = {1, 17, 64, 511, 512, 1024, 4096};
constexpr int kAnnouncedBlockSize = 4096; // announced with effSetBlockSize before kBlockSizes

// Runs body(random) once per round (--repeat), round r with the seed --seed + r; a failure
// inside names the seed of its round.
template <typename Body> void forEachRound(const CheckContext& context, Body body) {
    for (int round = 0; round < context.options.repeat; ++round) {
        const std::uint64_t seed = context.options.seed + static_cast<std::uint64_t>(round);
        Progress::round(seed);
        Random random(seed);
        try {
            body(random);
        } catch (const CheckFailure& failure) {
            if (failure.hasSeed()) {
                throw;
            }
            throw CheckFailure(failure.what(), seed);
        }
    }
}

enum class ProcessCall { Replacing, Accumulating };
const char* nameOf(ProcessCall call); // "processReplacing", "process"
bool canRun(const EffectUnderTest& effect, ProcessCall call);

// One block through the effect, then what a host relies on: no guard sample written, in inputs
// or outputs, and every output sample finite and not subnormal. In place, the outputs are the
// input arrays. `where` names the situation in the message.
void processChecked(EffectUnderTest& effect, ProcessCall call, GuardedChannels& inputs,
                    GuardedChannels& outputs, bool inPlace, const std::string& where);
// "48000 Hz, blocks of 512, processReplacing in place"
std::string describeSetting(float sampleRate, int blockSize, ProcessCall call, bool inPlace);
