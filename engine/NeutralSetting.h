// The neutral setting: what both "init" programs hold and what a new engine starts from.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>

namespace engine {

// In index order. No feedback and no modulation (their amounts sit at the centre, 0), the own
// tempo at 120 beats per minute, odd lines to the right.
inline constexpr std::array<float, ParameterIndex::kNumParameters> kNeutralSetting = {
    0.5f,      // 0 fDryWetMix
    0.5f,      // 1 fFeedbackLimit
    0.0f,      // 2 fCompSense
    0.453125f, // 3 fSyncBPM
    0.0f,      // 4 fRouting
    0.0f,      // 5 fInLR_0
    0.5f,      // 6 fDelay_0
    0.0f,      // 7 fFilt_0
    0.0f,      // 8 fFreq_0
    0.0f,      // 9 fRes_0
    0.5f,      // 10 fDamp_0
    0.5f,      // 11 fFeedback0_0
    0.5f,      // 12 fFeedback1_0
    0.5f,      // 13 fFeedback2_0
    0.5f,      // 14 fFeedback3_0
    0.5f,      // 15 fOutV_0
    0.0f,      // 16 fOutLR_0
    1.0f,      // 17 fInLR_1
    0.5f,      // 18 fDelay_1
    0.0f,      // 19 fFilt_1
    0.0f,      // 20 fFreq_1
    0.0f,      // 21 fRes_1
    0.5f,      // 22 fDamp_1
    0.5f,      // 23 fFeedback0_1
    0.5f,      // 24 fFeedback1_1
    0.5f,      // 25 fFeedback2_1
    0.5f,      // 26 fFeedback3_1
    0.5f,      // 27 fOutV_1
    1.0f,      // 28 fOutLR_1
    0.0f,      // 29 fInLR_2
    0.5f,      // 30 fDelay_2
    0.0f,      // 31 fFilt_2
    0.0f,      // 32 fFreq_2
    0.0f,      // 33 fRes_2
    0.5f,      // 34 fDamp_2
    0.5f,      // 35 fFeedback0_2
    0.5f,      // 36 fFeedback1_2
    0.5f,      // 37 fFeedback2_2
    0.5f,      // 38 fFeedback3_2
    0.5f,      // 39 fOutV_2
    0.0f,      // 40 fOutLR_2
    1.0f,      // 41 fInLR_3
    0.5f,      // 42 fDelay_3
    0.0f,      // 43 fFilt_3
    0.0f,      // 44 fFreq_3
    0.0f,      // 45 fRes_3
    0.5f,      // 46 fDamp_3
    0.5f,      // 47 fFeedback0_3
    0.5f,      // 48 fFeedback1_3
    0.5f,      // 49 fFeedback2_3
    0.5f,      // 50 fFeedback3_3
    0.5f,      // 51 fOutV_3
    1.0f,      // 52 fOutLR_3
    0.0f,      // 53 fLfoWave_0
    0.5f,      // 54 fLfoRate_0
    0.0f,      // 55 fLfoPhse_0
    0.0f,      // 56 fLfoDist_0
    0.0f,      // 57 fLfoDest0_0
    0.5f,      // 58 fLfoAmt00_0
    0.5f,      // 59 fLfoAmt01_0
    0.5f,      // 60 fLfoAmt02_0
    0.5f,      // 61 fLfoAmt03_0
    0.0f,      // 62 fLfoDest1_0
    0.5f,      // 63 fLfoAmt10_0
    0.5f,      // 64 fLfoAmt11_0
    0.5f,      // 65 fLfoAmt12_0
    0.5f,      // 66 fLfoAmt13_0
    0.0f,      // 67 fLfoWave_1
    0.5f,      // 68 fLfoRate_1
    0.0f,      // 69 fLfoPhse_1
    0.0f,      // 70 fLfoDist_1
    0.0f,      // 71 fLfoDest0_1
    0.5f,      // 72 fLfoAmt00_1
    0.5f,      // 73 fLfoAmt01_1
    0.5f,      // 74 fLfoAmt02_1
    0.5f,      // 75 fLfoAmt03_1
    0.0f,      // 76 fLfoDest1_1
    0.5f,      // 77 fLfoAmt10_1
    0.5f,      // 78 fLfoAmt11_1
    0.5f,      // 79 fLfoAmt12_1
    0.5f,      // 80 fLfoAmt13_1
    0.0f,      // 81 fStep0
    0.0f,      // 82 fStep1
    0.0f,      // 83 fStep2
    0.0f,      // 84 fStep3
    0.0f,      // 85 fStep4
    0.0f,      // 86 fStep5
    0.0f,      // 87 fStep6
    0.0f,      // 88 fStep7
    0.0f,      // 89 fStep8
    0.0f,      // 90 fStep9
    0.0f,      // 91 fStep10
    0.0f,      // 92 fStep11
    0.0f,      // 93 fStep12
    0.0f,      // 94 fStep13
    0.0f,      // 95 fStep14
    0.0f,      // 96 fStep15
    0.5f,      // 97 fStepTime
    1.0f,      // 98 fNumSteps
    0.0f,      // 99 fBlend
    0.0f,      // 100 fStepShift
    0.0f,      // 101 fStepDest0
    0.5f,      // 102 fStepAmt00
    0.5f,      // 103 fStepAmt01
    0.5f,      // 104 fStepAmt02
    0.5f,      // 105 fStepAmt03
    0.0f,      // 106 fStepDest1
    0.5f,      // 107 fStepAmt10
    0.5f,      // 108 fStepAmt11
    0.5f,      // 109 fStepAmt12
    0.5f,      // 110 fStepAmt13
};

} // namespace engine
