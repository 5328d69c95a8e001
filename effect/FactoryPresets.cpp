#include "effect/FactoryPresets.h"

#include "effect/ParameterTable.h"

#include <cstddef>
#include <iterator>

namespace {

using namespace ParameterIndex;

struct PresetValue {
    int index;
    float value;
};

// A run of changes to the neutral setting.
struct PresetChanges {
    const PresetValue* values = nullptr;
    std::size_t count = 0;
};

template <std::size_t count> constexpr PresetChanges changes(const PresetValue (&values)[count]) {
    return {values, count};
}

struct FactoryPreset {
    const char* name;
    PresetChanges shared; // applied first: settings two presets have in common
    PresetChanges own;
};

// Gain into line `into` from line `from`; 0.5 is no feedback, 0 and 1 are -0.9 and +0.9.
constexpr int feedback(int into, int from) {
    return line(into, Feedback0 + from);
}
constexpr int step(int s) {
    return fStep0 + s;
}

// Long stereo echoes: four undamped lines, each fed back into itself and one neighbour.
constexpr PresetValue kStereoDelay[] = {
    {fDryWetMix, 0.340533f},
    {fSyncBPM, 0.0f},
    {line(0, Delay), 0.25f},
    {line(0, Damp), 1.0f},
    {feedback(0, 0), 0.775205f},
    {feedback(0, 2), 0.78f},
    {line(0, OutV), 1.0f},
    {line(1, Delay), 0.1875f},
    {line(1, Damp), 1.0f},
    {feedback(1, 1), 0.775921f},
    {feedback(1, 3), 0.776667f},
    {line(1, OutV), 1.0f},
    {line(2, Delay), 0.375f},
    {line(2, Damp), 1.0f},
    {feedback(2, 0), 0.543333f},
    {feedback(2, 2), 0.666667f},
    {line(2, OutV), 0.992685f},
    {line(2, OutLR), 0.333333f},
    {line(3, Damp), 1.0f},
    {feedback(3, 1), 0.546667f},
    {feedback(3, 3), 0.653333f},
    {line(3, OutV), 1.0f},
    {line(3, OutLR), 0.673431f},
    {lfo(0, LfoRate), 0.0f},
    {lfo(1, LfoRate), 0.0f},
    {step(0), 0.5f},
    {step(4), 0.5f},
    {step(8), 0.5f},
    {step(12), 0.5f},
    {fStepTime, 0.0f},
};

// Tempo-synced ping-pong, thinned in the loop; the sequencer opens the sends on offbeats only.
constexpr PresetValue kOffbeatDelay[] = {
    {fDryWetMix, 0.34f},
    {fSyncBPM, 0.0f},
    {fRouting, 0.788538f},
    {line(0, Delay), 0.25f},
    {line(1, Delay), 0.1875f},
    {line(2, Delay), 0.0625f},
    {line(3, Delay), 0.125f},
    {line(0, Filt), 0.5f},
    {line(1, Filt), 0.5f},
    {line(2, Filt), 0.854484f},
    {line(3, Filt), 0.833333f},
    {line(0, Freq), 0.3f},
    {line(1, Freq), 0.3f},
    {line(2, Freq), 0.55f},
    {line(3, Freq), 0.5f},
    {line(0, Res), 0.2f},
    {line(1, Res), 0.2f},
    {line(2, Res), 0.35f},
    {line(3, Res), 0.35f},
    {line(0, Damp), 0.0f},
    {line(1, Damp), 0.0f},
    {line(2, Damp), 0.1f},
    {line(3, Damp), 0.1f},
    {feedback(0, 0), 0.775f},
    {feedback(0, 2), 0.779f},
    {feedback(1, 1), 0.775f},
    {feedback(1, 3), 0.776f},
    {feedback(2, 0), 0.543f},
    {feedback(2, 2), 0.666f},
    {feedback(3, 1), 0.546f},
    {feedback(3, 3), 0.653f},
    {line(0, OutV), 0.9f},
    {line(1, OutV), 0.9f},
    {line(2, OutV), 0.7f},
    {line(3, OutV), 0.7f},
    {line(0, OutLR), 0.0f},
    {line(1, OutLR), 1.0f},
    {line(2, OutLR), 0.85f},
    {line(3, OutLR), 0.15f},
    {lfo(0, LfoRate), 0.0f},
    {lfo(1, LfoRate), 0.0f},
    {step(1), 1.0f},
    {step(3), 1.0f},
    {step(5), 1.0f},
    {step(7), 1.0f},
    {step(9), 1.0f},
    {step(11), 1.0f},
    {step(13), 1.0f},
    {step(15), 1.0f},
    {fStepTime, 0.300101f},
    {fBlend, 0.247413f},
    {fStepDest0, 0.778032f},
    {stepAmount(0, 0), 1.0f},
    {stepAmount(0, 1), 1.0f},
    {stepAmount(0, 2), 1.0f},
    {stepAmount(0, 3), 1.0f},
};

// Slow filtered washes: long low-passed lines, a four-bar cutoff sweep, gliding resonance.
constexpr PresetValue kPadMakeup[] = {
    {fDryWetMix, 0.812183f},
    {fSyncBPM, 0.0f},
    {line(0, Delay), 0.375f},
    {line(1, Delay), 0.25f},
    {line(2, Delay), 0.125f},
    {line(3, Delay), 0.5f},
    {line(0, Filt), 0.252587f},
    {line(1, Filt), 0.319207f},
    {line(2, Filt), 0.281347f},
    {line(3, Filt), 0.265056f},
    {line(0, Freq), 0.45f},
    {line(1, Freq), 0.5f},
    {line(2, Freq), 0.4f},
    {line(3, Freq), 0.55f},
    {line(0, Res), 0.35f},
    {line(1, Res), 0.35f},
    {line(2, Res), 0.35f},
    {line(3, Res), 0.35f},
    {line(0, Damp), 0.9f},
    {line(1, Damp), 0.9f},
    {line(2, Damp), 0.9f},
    {line(3, Damp), 0.9f},
    {feedback(0, 0), 0.8f},
    {feedback(0, 1), 0.65f},
    {feedback(1, 1), 0.8f},
    {feedback(1, 2), 0.65f},
    {feedback(2, 2), 0.8f},
    {feedback(2, 3), 0.65f},
    {feedback(3, 3), 0.8f},
    {feedback(3, 0), 0.65f},
    {line(0, OutV), 0.7f},
    {line(1, OutV), 0.7f},
    {line(2, OutV), 0.7f},
    {line(3, OutV), 0.7f},
    {line(0, OutLR), 0.1f},
    {line(1, OutLR), 0.9f},
    {line(2, OutLR), 0.35f},
    {line(3, OutLR), 0.65f},
    {lfo(0, LfoRate), 1.0f},
    {lfo(0, LfoDist), 0.25f},
    {lfo(0, LfoDest0), 0.196778f},
    {lfoAmount(0, 0, 0), 0.8f},
    {lfoAmount(0, 0, 1), 0.75f},
    {lfoAmount(0, 0, 2), 0.8f},
    {lfoAmount(0, 0, 3), 0.75f},
    {lfo(1, LfoRate), 0.0f},
    {step(0), 0.2f},
    {step(1), 0.6f},
    {step(2), 0.4f},
    {step(3), 0.8f},
    {step(4), 0.3f},
    {step(5), 0.7f},
    {step(6), 0.5f},
    {step(7), 0.9f},
    {step(8), 0.2f},
    {step(9), 0.6f},
    {step(10), 0.4f},
    {step(11), 0.8f},
    {step(12), 0.3f},
    {step(13), 0.7f},
    {step(14), 0.5f},
    {step(15), 0.9f},
    {fStepTime, 0.785205f},
    {fBlend, 1.0f},
    {fStepDest0, 0.368379f},
    {stepAmount(0, 0), 0.7f},
    {stepAmount(0, 1), 0.7f},
    {stepAmount(0, 2), 0.7f},
    {stepAmount(0, 3), 0.7f},
};

// Short resonant loops ringing near self-oscillation, cutoffs bubbling in gliding eighths.
constexpr PresetValue kLoopBubbler[] = {
    {fDryWetMix, 1.0f},
    {fSyncBPM, 0.0f},
    {line(0, Delay), 0.0625f},
    {line(1, Delay), 0.1875f},
    {line(2, Delay), 0.0625f},
    {line(3, Delay), 0.0125f},
    {line(0, Filt), 0.344492f},
    {line(1, Filt), 0.352572f},
    {line(2, Filt), 0.344492f},
    {line(3, Filt), 0.401611f},
    {line(0, Freq), 0.45f},
    {line(1, Freq), 0.5f},
    {line(2, Freq), 0.55f},
    {line(3, Freq), 0.6f},
    {line(0, Res), 0.75f},
    {line(1, Res), 0.8f},
    {line(2, Res), 0.75f},
    {line(3, Res), 0.85f},
    {line(0, Damp), 1.0f},
    {line(1, Damp), 1.0f},
    {line(2, Damp), 1.0f},
    {line(3, Damp), 1.0f},
    {feedback(0, 0), 0.85f},
    {feedback(1, 1), 0.85f},
    {feedback(2, 2), 0.85f},
    {feedback(3, 3), 0.85f},
    {feedback(3, 0), 0.6f},
    {line(0, OutV), 0.6f},
    {line(1, OutV), 0.6f},
    {line(2, OutV), 0.6f},
    {line(3, OutV), 0.6f},
    {line(0, OutLR), 0.2f},
    {line(1, OutLR), 0.8f},
    {line(2, OutLR), 0.4f},
    {line(3, OutLR), 0.6f},
    {lfo(0, LfoWave), 1.0f},
    {lfo(0, LfoRate), 0.759322f},
    {lfo(0, LfoDist), 0.125f},
    {lfo(0, LfoDest0), 0.352572f},
    {lfoAmount(0, 0, 0), 0.65f},
    {lfoAmount(0, 0, 1), 0.65f},
    {lfoAmount(0, 0, 2), 0.65f},
    {lfoAmount(0, 0, 3), 0.65f},
    {lfo(1, LfoRate), 0.833333f},
    {lfo(1, LfoDist), 0.5f},
    {lfo(1, LfoDest0), 0.666667f},
    {lfoAmount(1, 0, 0), 0.7f},
    {lfoAmount(1, 0, 1), 0.7f},
    {lfoAmount(1, 0, 2), 0.7f},
    {lfoAmount(1, 0, 3), 0.7f},
    {step(0), 0.1f},
    {step(1), 0.6f},
    {step(2), 0.3f},
    {step(3), 0.9f},
    {step(4), 0.2f},
    {step(5), 0.7f},
    {step(6), 0.4f},
    {step(7), 1.0f},
    {step(8), 0.0f},
    {step(9), 0.5f},
    {step(10), 0.8f},
    {step(11), 0.3f},
    {step(12), 0.6f},
    {step(13), 0.1f},
    {step(14), 0.9f},
    {step(15), 0.4f},
    {fStepTime, 0.333333f},
    {fBlend, 1.0f},
    {fStepDest0, 0.239459f},
    {stepAmount(0, 0), 0.75f},
    {stepAmount(0, 1), 0.75f},
    {stepAmount(0, 2), 0.75f},
    {stepAmount(0, 3), 0.75f},
};

// Stereo scrambler: tiny cross-fed lines smear the image; sixteenths toss levels and sends.
constexpr PresetValue kStereoScrambler[] = {
    {fDryWetMix, 0.833333f},
    {fSyncBPM, 0.0f},
    {fRouting, 1.0f},
    {line(0, Delay), 0.012f},
    {line(1, Delay), 0.0135f},
    {line(2, Delay), 0.0115f},
    {line(3, Delay), 0.0125f},
    {line(0, Filt), 0.309851f},
    {line(1, Filt), 0.298288f},
    {line(2, Filt), 0.344492f},
    {line(3, Filt), 0.401611f},
    {line(0, Freq), 0.55f},
    {line(1, Freq), 0.6f},
    {line(2, Freq), 0.65f},
    {line(3, Freq), 0.7f},
    {line(0, Res), 0.2f},
    {line(1, Res), 0.2f},
    {line(2, Res), 0.2f},
    {line(3, Res), 0.2f},
    {feedback(0, 1), 0.75f},
    {feedback(1, 0), 0.75f},
    {feedback(2, 3), 0.72f},
    {feedback(3, 2), 0.72f},
    {line(0, OutLR), 0.0f},
    {line(1, OutLR), 1.0f},
    {line(2, OutLR), 0.1f},
    {line(3, OutLR), 0.9f},
    {lfo(0, LfoRate), 0.833333f},
    {lfo(0, LfoDist), 0.5f},
    {lfo(0, LfoDest0), 0.228516f},
    {lfoAmount(0, 0, 0), 0.7f},
    {lfoAmount(0, 0, 1), 0.3f},
    {lfoAmount(0, 0, 2), 0.7f},
    {lfoAmount(0, 0, 3), 0.3f},
    {lfo(1, LfoRate), 0.0f},
    {step(0), 1.0f},
    {step(2), 0.7f},
    {step(3), 0.2f},
    {step(5), 1.0f},
    {step(6), 0.4f},
    {step(7), 0.9f},
    {step(8), 0.1f},
    {step(9), 0.6f},
    {step(10), 1.0f},
    {step(12), 0.8f},
    {step(13), 0.3f},
    {step(15), 0.5f},
    {fStepTime, 0.085921f},
    {fBlend, 0.100264f},
    {fStepDest0, 0.523482f},
    {stepAmount(0, 0), 0.9f},
    {stepAmount(0, 1), 0.1f},
    {stepAmount(0, 2), 0.9f},
    {stepAmount(0, 3), 0.1f},
    {fStepDest1, 0.716268f},
    {stepAmount(1, 0), 0.1f},
    {stepAmount(1, 1), 0.9f},
    {stepAmount(1, 2), 0.1f},
    {stepAmount(1, 3), 0.9f},
};

// Shared by "hexler" and "hacktrack": ringing combs and 374 ms echoes, gated in a 3-3-2 pattern.
constexpr PresetValue kHexRhythm[] = {
    {line(0, Delay), 0.0f},   {line(1, Delay), 0.0f},  {line(2, Delay), 0.187f},
    {line(3, Delay), 0.187f}, {line(0, Filt), 0.291f}, {line(1, Filt), 0.281f},
    {line(0, Freq), 0.55f},   {line(1, Freq), 0.6f},   {line(0, Res), 0.7f},
    {line(1, Res), 0.65f},    {line(0, Damp), 0.8f},   {line(1, Damp), 0.8f},
    {line(2, Damp), 0.8f},    {line(3, Damp), 0.8f},   {feedback(0, 0), 0.8f},
    {feedback(1, 1), 0.8f},   {feedback(2, 2), 0.7f},  {feedback(2, 3), 0.6f},
    {feedback(3, 3), 0.7f},   {feedback(3, 2), 0.6f},  {step(0), 1.0f},
    {step(3), 1.0f},          {step(6), 1.0f},         {step(8), 1.0f},
    {step(11), 1.0f},         {step(14), 1.0f},        {fStepDest0, 0.541f},
};

// Hexing rhythm: gated combs and band-passed echoes under falling-saw resonance and cutoff.
constexpr PresetValue kHexler[] = {
    {fDryWetMix, 0.755417f},      {fSyncBPM, 0.0f},
    {fRouting, 0.265f},           {line(2, Filt), 0.781347f},
    {line(3, Filt), 0.774276f},   {line(2, Freq), 0.6f},
    {line(3, Freq), 0.5f},        {line(2, Res), 0.5f},
    {line(3, Res), 0.5f},         {line(0, OutV), 0.15f},
    {line(1, OutV), 0.15f},       {line(2, OutV), 0.15f},
    {line(3, OutV), 0.15f},       {line(0, OutLR), 0.3f},
    {line(1, OutLR), 0.7f},       {line(2, OutLR), 0.0f},
    {line(3, OutLR), 1.0f},       {lfo(0, LfoWave), 1.0f},
    {lfo(0, LfoRate), 1.0f},      {lfo(0, LfoDist), 0.25f},
    {lfo(0, LfoDest0), 0.363f},   {lfoAmount(0, 0, 0), 0.7f},
    {lfoAmount(0, 0, 1), 0.7f},   {lfoAmount(0, 0, 2), 0.7f},
    {lfoAmount(0, 0, 3), 0.7f},   {lfo(1, LfoWave), 1.0f},
    {lfo(1, LfoRate), 0.291445f}, {lfo(1, LfoDest0), 0.201f},
    {lfoAmount(1, 0, 0), 0.75f},  {lfoAmount(1, 0, 1), 0.75f},
    {lfoAmount(1, 0, 2), 0.75f},  {lfoAmount(1, 0, 3), 0.75f},
    {fStepTime, 0.076133f},       {fBlend, 0.5f},
    {stepAmount(0, 0), 0.95f},    {stepAmount(0, 1), 0.95f},
    {stepAmount(0, 2), 0.95f},    {stepAmount(0, 3), 0.95f},
};

// Hacked-up track at its own 120 bpm: hard-chopped wet echoes, sixteenth saws zap the combs.
constexpr PresetValue kHacktrack[] = {
    {fDryWetMix, 1.0f},          {fSyncBPM, 0.453516f},       {fRouting, 0.265f},
    {line(0, OutV), 0.0f},       {line(1, OutV), 0.0f},       {line(2, OutV), 0.0f},
    {line(3, OutV), 0.0f},       {line(0, OutLR), 0.5f},      {line(1, OutLR), 0.5f},
    {line(2, OutLR), 0.1f},      {line(3, OutLR), 0.9f},      {lfo(0, LfoWave), 1.0f},
    {lfo(0, LfoRate), 1.0f},     {lfo(0, LfoDest0), 0.363f},  {lfoAmount(0, 0, 0), 0.6f},
    {lfoAmount(0, 0, 1), 0.6f},  {lfoAmount(0, 0, 2), 0.6f},  {lfoAmount(0, 0, 3), 0.6f},
    {lfo(1, LfoWave), 1.0f},     {lfo(1, LfoRate), 0.187f},   {lfo(1, LfoDest0), 0.201f},
    {lfoAmount(1, 0, 0), 0.85f}, {lfoAmount(1, 0, 1), 0.85f}, {lfoAmount(1, 0, 2), 0.85f},
    {lfoAmount(1, 0, 3), 0.85f}, {fStepTime, 0.033f},         {fBlend, 0.193f},
    {stepAmount(0, 0), 1.0f},    {stepAmount(0, 1), 1.0f},    {stepAmount(0, 2), 1.0f},
    {stepAmount(0, 3), 1.0f},
};

// Dirty echo at 120 bpm: each pass drives the saturator about 2.5 times, so gains stay low.
constexpr PresetValue kDirtyEcho[] = {
    {fFeedbackLimit, 0.907345f},
    {fRouting, 0.666667f},
    {line(0, Delay), 0.0f},
    {line(1, Delay), 0.0005f},
    {line(2, Delay), 0.375f},
    {line(3, Delay), 0.25f},
    {line(0, Filt), 0.363445f},
    {line(1, Filt), 0.274276f},
    {line(2, Filt), 0.598389f},
    {line(3, Filt), 0.666667f},
    {line(0, Freq), 0.5f},
    {line(1, Freq), 0.5f},
    {line(2, Freq), 0.3f},
    {line(3, Freq), 0.35f},
    {line(0, Res), 0.35f},
    {line(1, Res), 0.35f},
    {line(2, Res), 0.2f},
    {line(3, Res), 0.2f},
    {line(0, Damp), 0.3f},
    {line(1, Damp), 0.3f},
    {line(2, Damp), 1.0f},
    {line(3, Damp), 1.0f},
    {feedback(0, 0), 0.55f},
    {feedback(0, 2), 0.6f},
    {feedback(1, 1), 0.55f},
    {feedback(1, 3), 0.6f},
    {feedback(2, 2), 0.66f},
    {feedback(2, 3), 0.54f},
    {feedback(3, 3), 0.66f},
    {feedback(3, 2), 0.54f},
    {line(0, OutV), 0.35f},
    {line(1, OutV), 0.35f},
    {line(2, OutV), 0.85f},
    {line(3, OutV), 0.85f},
    {line(0, OutLR), 0.4f},
    {line(1, OutLR), 0.6f},
    {line(2, OutLR), 0.2f},
    {line(3, OutLR), 0.8f},
    {step(0), 0.8f},
    {step(1), 0.2f},
    {step(2), 0.5f},
    {step(3), 0.1f},
    {step(4), 0.9f},
    {step(5), 0.3f},
    {step(6), 0.6f},
    {step(8), 0.7f},
    {step(9), 0.2f},
    {step(10), 0.4f},
    {step(11), 0.1f},
    {step(12), 1.0f},
    {step(13), 0.3f},
    {step(14), 0.5f},
    {step(15), 0.2f},
    {fStepTime, 0.423866f},
    {fBlend, 0.5f},
    {fStepDest0, 0.314095f},
    {stepAmount(0, 0), 0.65f},
    {stepAmount(0, 1), 0.65f},
    {stepAmount(0, 2), 0.65f},
    {stepAmount(0, 3), 0.65f},
    {fStepDest1, 0.234944f},
    {stepAmount(1, 0), 0.65f},
    {stepAmount(1, 1), 0.65f},
    {stepAmount(1, 2), 0.65f},
    {stepAmount(1, 3), 0.65f},
};

constexpr FactoryPreset kPresets[kNumPrograms] = {
    {"stereo delay", {}, changes(kStereoDelay)},
    {"offbeat delay", {}, changes(kOffbeatDelay)},
    {"pad makeup", {}, changes(kPadMakeup)},
    {"loop bubbler", {}, changes(kLoopBubbler)},
    {"stereo scambler", {}, changes(kStereoScrambler)},
    {"hexler", changes(kHexRhythm), changes(kHexler)},
    {"hacktrack", changes(kHexRhythm), changes(kHacktrack)},
    {"dirty echo", {}, changes(kDirtyEcho)},
    {"init", {}, {}},
    {"init", {}, {}},
};

void apply(ParameterValues& values, const PresetChanges& changes) {
    for (std::size_t n = 0; n < changes.count; ++n) {
        values[changes.values[n].index] = changes.values[n].value;
    }
}

} // namespace

const char* factoryPresetName(int slot) {
    return kPresets[slot].name;
}

ParameterValues factoryPresetValues(int slot) {
    ParameterValues values{};
    for (int index = 0; index < kNumParameters; ++index) {
        values[index] = parameterInfo(index).neutral;
    }
    apply(values, kPresets[slot].shared);
    apply(values, kPresets[slot].own);
    return values;
}
