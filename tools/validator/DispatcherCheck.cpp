// dispatcher: every opcode a host might send, known or not, with random arguments. The pointer
// is what a host passes for the opcode: the right buffer where the opcode has one (guarded past
// the size the interface allows), and null or a zeroed record where it has none.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/GuardedText.h"
#include "tools/validator/SampleScan.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

constexpr VstInt32 kFirstOpcode = -1;
constexpr VstInt32 kLastOpcode = 80;
constexpr int kCallsPerOpcode = 16; // per round, in random order

// Opcodes of the 2.4 interface past effGetVstVersion that take a pointer.
constexpr VstInt32 kGetMidiProgramName = 62;
constexpr VstInt32 kGetCurrentMidiProgram = 63;
constexpr VstInt32 kGetMidiProgramCategory = 64;
constexpr VstInt32 kGetMidiKeyName = 66;
constexpr VstInt32 kGetSpeakerArrangement = 69;
constexpr VstInt32 kShellGetNextPlugin = 70;
constexpr VstInt32 kBeginLoadBank = 75;
constexpr VstInt32 kBeginLoadProgram = 76;

enum class Pointer {
    Unused,       // null or a zeroed record, at random: hosts pass either
    Text,         // a text the effect writes, `size` bytes
    InputText,    // a text the effect reads
    OptionalText, // a text the effect reads, or null (effString2Parameter asks so)
    Record,       // a zeroed record the effect reads or fills, `size` bytes
    PointerSlot,  // a place where the effect stores a pointer
    Chunk,        // effSetChunk: `value` bytes of data
};

struct OpcodeUse {
    VstInt32 opcode;
    Pointer pointer;
    std::size_t size = 0;
    bool valueIsPointer = false; // value is a pointer to a record (slot) as well
    bool valueIsCount = false;   // value counts records at ptr: 0 or 1
};

const OpcodeUse opcodeUses[] = {
    {effSetProgramName, Pointer::InputText, HostBufferSize::kProgramName},
    {effGetProgramName, Pointer::Text, HostBufferSize::kProgramName},
    {effGetParamLabel, Pointer::Text, HostBufferSize::kParameterText},
    {effGetParamDisplay, Pointer::Text, HostBufferSize::kParameterText},
    {effGetParamName, Pointer::Text, HostBufferSize::kParameterText},
    {effEditGetRect, Pointer::PointerSlot},
    {effEditDraw, Pointer::Record, HostBufferSize::kRecord},
    {effGetChunk, Pointer::PointerSlot},
    {effSetChunk, Pointer::Chunk},
    {effProcessEvents, Pointer::Record, HostBufferSize::kRecord},
    {effString2Parameter, Pointer::OptionalText, HostBufferSize::kParameterText},
    {effGetProgramNameIndexed, Pointer::Text, HostBufferSize::kProgramName},
    {effGetInputProperties, Pointer::Record, HostBufferSize::kPinProperties},
    {effGetOutputProperties, Pointer::Record, HostBufferSize::kPinProperties},
    {effOfflineNotify, Pointer::Record, HostBufferSize::kRecord, false, true},
    {effOfflinePrepare, Pointer::Record, HostBufferSize::kRecord, false, true},
    {effOfflineRun, Pointer::Record, HostBufferSize::kRecord, false, true},
    {effProcessVarIo, Pointer::Record, HostBufferSize::kRecord},
    {effSetSpeakerArrangement, Pointer::Record, HostBufferSize::kRecord, true},
    {effGetEffectName, Pointer::Text, HostBufferSize::kEffectName},
    {effGetErrorText, Pointer::Text, HostBufferSize::kErrorText},
    {effGetVendorString, Pointer::Text, HostBufferSize::kVendorText},
    {effGetProductString, Pointer::Text, HostBufferSize::kVendorText},
    {effCanDo, Pointer::InputText, HostBufferSize::kVendorText},
    {effGetParameterProperties, Pointer::Record, HostBufferSize::kParameterProperties},
    {kGetMidiProgramName, Pointer::Record, HostBufferSize::kRecord},
    {kGetCurrentMidiProgram, Pointer::Record, HostBufferSize::kRecord},
    {kGetMidiProgramCategory, Pointer::Record, HostBufferSize::kRecord},
    {kGetMidiKeyName, Pointer::Record, HostBufferSize::kRecord},
    {kGetSpeakerArrangement, Pointer::PointerSlot, 0, true},
    {kShellGetNextPlugin, Pointer::Text, HostBufferSize::kVendorText},
    {kBeginLoadBank, Pointer::Record, HostBufferSize::kRecord},
    {kBeginLoadProgram, Pointer::Record, HostBufferSize::kRecord},
};

// Capability strings hosts ask about, and some they do not.
const char* const capabilities[] = {
    "sendVstEvents",
    "sendVstMidiEvent",
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstTimeInfo",
    "offline",
    "midiProgramNames",
    "bypass",
    "1in1out",
    "2in2out",
    "plugAsChannelInsert",
    "plugAsSend",
    "mixDryWet",
    "noRealTime",
    "multipass",
    "metapass",
    "",
    "?",
    "a capability no one has ever heard of, spelt out at some length"};

OpcodeUse useOf(VstInt32 opcode) {
    for (const OpcodeUse& use : opcodeUses) {
        if (use.opcode == opcode) {
            return use;
        }
    }
    return {opcode, Pointer::Unused, HostBufferSize::kRecord};
}

VstInt32 randomIndex(Random& random, const EffectUnderTest& effect) {
    switch (random.below(6)) {
    case 0:
        return 0;
    case 1:
        return -1;
    case 2:
        return random.below(2) == 0 ? INT_MIN : INT_MAX;
    case 3:
        return static_cast<VstInt32>(random.next());
    default:
        return random.between(0, std::max(effect.numParameters(), effect.numPrograms()) + 2);
    }
}

VstIntPtr randomValue(Random& random) {
    switch (random.below(6)) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 2:
        return -1;
    case 3:
        return random.below(2) == 0 ? INTPTR_MAX : INTPTR_MIN;
    case 4:
        return static_cast<VstIntPtr>(static_cast<std::int32_t>(random.next()));
    default:
        return random.between(0, 4096);
    }
}

float randomOption(Random& random) {
    return random.chance(0.3) ? kSampleRates[random.below(std::size(kSampleRates))]
                              : random.parameterValue() * (random.chance(0.5) ? 1.0f : 1.0e5f);
}

std::string randomText(Random& random, std::size_t longest) {
    std::string text(random.below(static_cast<std::uint32_t>(longest)), ' ');
    for (char& c : text) {
        c = static_cast<char>(random.between(32, 126));
    }
    return text;
}

std::string describeCall(VstInt32 opcode, VstInt32 index, VstIntPtr value, const void* ptr,
                         float opt) {
    char text[160];
    std::snprintf(text, sizeof text, "opcode %d (index %d, value %lld, ptr %s, opt %s)", opcode,
                  index, static_cast<long long>(value), ptr == nullptr ? "null" : "a buffer",
                  describeValue(opt).c_str());
    return text;
}

// One call with arguments as a host would make them for the opcode; checks the buffers.
void callAtRandom(EffectUnderTest& effect, Random& random, VstInt32 opcode) {
    const OpcodeUse use = useOf(opcode);
    VstInt32 index = randomIndex(random, effect);
    VstIntPtr value =
        use.valueIsCount ? static_cast<VstIntPtr>(random.below(2)) : randomValue(random);
    const float opt = randomOption(random);

    std::unique_ptr<GuardedText> buffer;
    std::unique_ptr<GuardedText> valueRecord;
    void* ptr = nullptr;
    switch (use.pointer) {
    case Pointer::Unused:
        if (random.chance(0.5)) {
            buffer = std::make_unique<GuardedText>(use.size);
            buffer->clear();
        }
        break;
    case Pointer::Text:
        buffer = std::make_unique<GuardedText>(use.size);
        break;
    case Pointer::OptionalText:
        if (random.chance(0.3)) {
            break;
        }
        [[fallthrough]];
    case Pointer::InputText:
        buffer = std::make_unique<GuardedText>(
            use.size, opcode == effCanDo ? capabilities[random.below(std::size(capabilities))]
                                         : randomText(random, use.size));
        break;
    case Pointer::Record:
        buffer = std::make_unique<GuardedText>(use.size);
        buffer->clear();
        break;
    case Pointer::PointerSlot:
        buffer = std::make_unique<GuardedText>(sizeof(void*));
        buffer->clear();
        break;
    case Pointer::Chunk:
        buffer = std::make_unique<GuardedText>(random.below(512));
        for (std::size_t byte = 0; byte < buffer->size(); ++byte) {
            buffer->data()[byte] = static_cast<char>(random.next());
        }
        value = static_cast<VstIntPtr>(buffer->size());
        index = static_cast<VstInt32>(random.below(2));
        break;
    }
    if (buffer != nullptr) {
        ptr = buffer->data();
    }
    if (use.valueIsPointer) {
        valueRecord = std::make_unique<GuardedText>(
            use.pointer == Pointer::PointerSlot ? sizeof(void*) : HostBufferSize::kRecord);
        valueRecord->clear();
        value = reinterpret_cast<VstIntPtr>(valueRecord->data());
    }

    const std::string call = describeCall(opcode, index, value, ptr, opt);
    Progress::step(call);
    const VstIntPtr answer = effect.dispatch(opcode, index, value, ptr, opt);

    if (buffer != nullptr) {
        const bool isText = use.pointer == Pointer::Text;
        const std::string problem = isText ? buffer->problem() : buffer->damagedGuard();
        expect(problem.empty(), call + ": the effect " + problem);
    }
    if (valueRecord != nullptr) {
        const std::string problem = valueRecord->damagedGuard();
        expect(problem.empty(), call + ": the effect " + problem + " given as value");
    }
    // A pointer the effect hands back must point at something readable.
    if (use.pointer == Pointer::PointerSlot && buffer != nullptr) {
        const unsigned char* given = nullptr;
        std::memcpy(&given, buffer->data(), sizeof given);
        const long long length =
            opcode == effGetChunk ? static_cast<long long>(answer) : (given != nullptr ? 8 : 0);
        volatile unsigned char sum = 0;
        for (long long byte = 0; given != nullptr && byte < length && byte < (1 << 24); ++byte) {
            sum = static_cast<unsigned char>(sum + given[byte]);
        }
    }
}

// After the calls the effect must still work for a host that sets it up properly.
void expectStillWorking(EffectUnderTest& effect, Random& random) {
    Progress::step("processing after the dispatcher calls");
    effect.suspend();
    effect.start(44100.0f, 512);
    const VstIntPtr program = effect.dispatch(effGetProgram);
    expect(effect.numPrograms() == 0 || (program >= 0 && program < effect.numPrograms()),
           "after the calls, effGetProgram answers " + std::to_string(program) + " of " +
               std::to_string(effect.numPrograms()) + " programs");
    const ProcessCall call =
        canRun(effect, ProcessCall::Replacing) ? ProcessCall::Replacing : ProcessCall::Accumulating;
    GuardedChannels inputs(effect.numInputs(), 512);
    GuardedChannels outputs(effect.numOutputs(), 512);
    for (int block = 0; block < 16; ++block) {
        inputs.fillNoise(random, 0.5f);
        outputs.fill(0.0f);
        processChecked(effect, call, inputs, outputs, false,
                       "44100 Hz after the dispatcher calls, block " + std::to_string(block));
    }
}

} // namespace

CheckResult checkDispatcher(const CheckContext& context) {
    long calls = 0;
    forEachRound(context, [&](Random& random) {
        EffectUnderTest effect(context.entryPoint);
        effect.start(48000.0f, 512);
        constexpr int kOpcodes = kLastOpcode - kFirstOpcode + 1;
        for (int call = 0; call < kOpcodes * kCallsPerOpcode; ++call) {
            const VstInt32 opcode = kFirstOpcode + static_cast<VstInt32>(random.below(kOpcodes));
            // Closing and opening the editor are the editor and lifecycle checks' business.
            if (opcode == effClose || opcode == effEditOpen) {
                continue;
            }
            callAtRandom(effect, random, opcode);
            ++calls;
        }
        expectStillWorking(effect, random);
    });
    return CheckResult::passed(std::to_string(calls) + " calls of opcodes " +
                               std::to_string(kFirstOpcode) + " to " + std::to_string(kLastOpcode) +
                               ", every buffer intact, still processing afterwards");
}
