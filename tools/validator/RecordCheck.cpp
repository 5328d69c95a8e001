// effect-record: what a host reads before it runs anything.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedText.h"

#include <cmath>
#include <cstdio>

namespace {

// Asks for one text and checks the buffer; returns the text.
std::string askText(EffectUnderTest& effect, VstInt32 opcode, VstInt32 index, std::size_t size,
                    const std::string& what) {
    GuardedText text(size);
    effect.dispatch(opcode, index, 0, text.data());
    const std::string problem = text.problem();
    expect(problem.empty(), what + ": the effect " + problem);
    return text.text();
}

std::string flagNames(VstInt32 flags) {
    struct Named {
        VstInt32 flag;
        const char* name;
    };
    static const Named names[] = {{effFlagsHasEditor, "editor"},
                                  {effFlagsHasClip, "clip"},
                                  {effFlagsHasVu, "vu"},
                                  {effFlagsCanMono, "mono"},
                                  {effFlagsCanReplacing, "replacing"},
                                  {effFlagsProgramChunks, "chunks"},
                                  {effFlagsIsSynth, "synth"},
                                  {effFlagsNoSoundInStop, "no sound in stop"}};
    std::string text;
    for (const Named& named : names) {
        if ((flags & named.flag) != 0) {
            text += (text.empty() ? "" : ", ") + std::string(named.name);
        }
    }
    return text;
}

} // namespace

CheckResult checkEffectRecord(const CheckContext& context) {
    EffectUnderTest effect(context.entryPoint);
    const AEffect& record = effect.record();
    expect(record.numParams >= 0 && record.numPrograms >= 0,
           "the record announces " + std::to_string(record.numParams) + " parameters and " +
               std::to_string(record.numPrograms) + " programs");
    expect(record.process != nullptr || record.processReplacing != nullptr,
           "the record has neither process nor processReplacing");
    expect((record.flags & effFlagsCanReplacing) == 0 || record.processReplacing != nullptr,
           "the flags promise processReplacing, but the record has none");
    expect(record.numParams == 0 ||
               (record.setParameter != nullptr && record.getParameter != nullptr),
           "the record has parameters but no setParameter or getParameter");
    expect(record.uniqueID != 0, "the unique ID is 0; hosts tell plug-ins apart by it");

    Progress::step("the effect's own texts");
    const std::string vendor =
        askText(effect, effGetVendorString, 0, HostBufferSize::kVendorText, "effGetVendorString");
    const std::string product =
        askText(effect, effGetProductString, 0, HostBufferSize::kVendorText, "effGetProductString");
    askText(effect, effGetEffectName, 0, HostBufferSize::kEffectName, "effGetEffectName");
    for (VstInt32 index = 0; index < record.numParams; ++index) {
        const std::string which = "parameter " + std::to_string(index);
        Progress::step("the texts of " + which);
        askText(effect, effGetParamName, index, HostBufferSize::kParameterText,
                "effGetParamName of " + which);
        askText(effect, effGetParamLabel, index, HostBufferSize::kParameterText,
                "effGetParamLabel of " + which);
        askText(effect, effGetParamDisplay, index, HostBufferSize::kParameterText,
                "effGetParamDisplay of " + which);
        const float value = effect.getParameter(index);
        expect(std::isfinite(value) && value >= 0.0f && value <= 1.0f,
               which + " reads back as " + std::to_string(value) + ", outside 0..1");
    }
    for (VstInt32 index = 0; index < record.numPrograms; ++index) {
        askText(effect, effGetProgramNameIndexed, index, HostBufferSize::kProgramName,
                "effGetProgramNameIndexed of program " + std::to_string(index));
    }
    askText(effect, effGetProgramName, 0, HostBufferSize::kProgramName, "effGetProgramName");

    // Two instances must not share their settings.
    if (record.numParams > 0) {
        Progress::step("two instances at once");
        EffectUnderTest other(context.entryPoint);
        const float before = other.getParameter(0);
        const float changed = effect.getParameter(0) < 0.5f ? 1.0f : 0.0f;
        effect.setParameter(0, changed);
        expect(other.getParameter(0) == before,
               "setting parameter 0 of one instance changed it in another");
    }

    char summary[160];
    std::snprintf(summary, sizeof summary,
                  "%d in, %d out, %d parameters, %d programs, ID 0x%08X, flags 0x%X",
                  record.numInputs, record.numOutputs, record.numParams, record.numPrograms,
                  static_cast<unsigned>(record.uniqueID), static_cast<unsigned>(record.flags));
    return CheckResult::passed(std::string(summary) + " (" + flagNames(record.flags) + "), \"" +
                               product + "\" by \"" + vendor + "\"");
}
