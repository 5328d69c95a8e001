// Indices of the 111 automatable parameters, named after their keys. The host, the programs,
// the engine and the editor all address parameters by these numbers.
#pragma once

namespace ParameterIndex {

constexpr int kNumParameters = 111;

constexpr int fDryWetMix = 0;
constexpr int fFeedbackLimit = 1;
constexpr int fCompSense = 2;
constexpr int fSyncBPM = 3;
constexpr int fRouting = 4;

// Delay line i occupies 12 indices starting at 5 + 12 i.
constexpr int kNumLines = 4;
constexpr int kFirstLine = 5;
constexpr int kLineStride = 12;
enum LineOffset : int {
    InLR = 0,
    Delay = 1,
    Filt = 2,
    Freq = 3,
    Res = 4,
    Damp = 5,
    Feedback0 = 6, // Feedback<j> is Feedback0 + j
    OutV = 10,
    OutLR = 11,
};
constexpr int line(int i, int offset) {
    return kFirstLine + kLineStride * i + offset;
}

// LFO k occupies 14 indices starting at 53 + 14 k.
constexpr int kNumLfos = 2;
constexpr int kFirstLfo = 53;
constexpr int kLfoStride = 14;
enum LfoOffset : int {
    LfoWave = 0,
    LfoRate = 1,
    LfoPhse = 2,
    LfoDist = 3,
    LfoDest0 = 4,
    LfoAmt00 = 5, // LfoAmt0<i> is LfoAmt00 + i
    LfoDest1 = 9,
    LfoAmt10 = 10, // LfoAmt1<i> is LfoAmt10 + i
};
constexpr int lfo(int k, int offset) {
    return kFirstLfo + kLfoStride * k + offset;
}
// The destination parameter d (0 or 1) of LFO k, and its amount for line i.
constexpr int lfoDestination(int k, int d) {
    return lfo(k, d == 0 ? LfoDest0 : LfoDest1);
}
constexpr int lfoAmount(int k, int d, int i) {
    return lfo(k, (d == 0 ? LfoAmt00 : LfoAmt10) + i);
}

constexpr int kNumSteps = 16;
constexpr int fStep0 = 81; // fStep<s> is fStep0 + s
constexpr int fStepTime = 97;
constexpr int fNumSteps = 98;
constexpr int fBlend = 99;
constexpr int fStepShift = 100;
constexpr int fStepDest0 = 101;
constexpr int fStepAmt00 = 102; // fStepAmt0<i> is fStepAmt00 + i
constexpr int fStepDest1 = 106;
constexpr int fStepAmt10 = 107; // fStepAmt1<i> is fStepAmt10 + i
constexpr int stepDestination(int d) {
    return d == 0 ? fStepDest0 : fStepDest1;
}
constexpr int stepAmount(int d, int i) {
    return (d == 0 ? fStepAmt00 : fStepAmt10) + i;
}

static_assert(line(3, OutLR) == 52);
static_assert(lfo(1, LfoAmt10 + 3) == 80);
static_assert(stepAmount(1, 3) == kNumParameters - 1);

// Indices of setParameter that are commands rather than parameters.
constexpr int kCommandResetEngine = 998;
constexpr int kCommandAbout = 999;
constexpr int kCommandDumpProgram = 1200;

// Indices of getParameter that answer engine quantities for the editor's displays.
constexpr int kQueryCurrentStep = 1000;
constexpr int kQueryStepShift = 1001;
constexpr int kQueryDelayMs0 = 1002; // line i is kQueryDelayMs0 + i
constexpr int kQueryTempo = 1006;
constexpr int kQueryLimit = 1007;
constexpr int kQuerySongPosition = 1100;

} // namespace ParameterIndex
