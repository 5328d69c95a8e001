#include "tools/validator/CheckSupport.h"

#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/SampleScan.h"

#include <algorithm>

const char* nameOf(ProcessCall call) {
    return call == ProcessCall::Replacing ? "processReplacing" : "process";
}

bool canRun(const EffectUnderTest& effect, ProcessCall call) {
    return call == ProcessCall::Replacing ? effect.canProcessReplacing() : effect.canProcess();
}

void processChecked(EffectUnderTest& effect, ProcessCall call, GuardedChannels& inputs,
                    GuardedChannels& outputs, bool inPlace, const std::string& where) {
    GuardedChannels& written = inPlace ? inputs : outputs;
    if (call == ProcessCall::Replacing) {
        effect.processReplacing(inputs.pointers(), written.pointers(), inputs.frames());
    } else {
        effect.process(inputs.pointers(), written.pointers(), inputs.frames());
    }
    const std::string inputDamage = inputs.damagedGuard();
    expect(inputDamage.empty(), std::string(nameOf(call)) + " wrote outside the input block (" +
                                    inputDamage + ") at " + where);
    const std::string outputDamage = written.damagedGuard();
    expect(outputDamage.empty(), std::string(nameOf(call)) + " wrote outside the output block (" +
                                     outputDamage + ") at " + where);
    const int channels = std::min(written.channels(), effect.numOutputs());
    const BadSample bad = findBadSample(written.pointers(), channels, written.frames());
    expect(!bad.found(), std::string(nameOf(call)) + " gave " + bad.describe() + " at " + where);
}

std::string describeSetting(float sampleRate, int blockSize, ProcessCall call, bool inPlace) {
    return std::to_string(static_cast<long>(sampleRate)) + " Hz, blocks of " +
           std::to_string(blockSize) + ", " + nameOf(call) + (inPlace ? " in place" : " apart");
}
