#include "effect/ParameterTable.h"

#include <cmath>
#include <iterator>

namespace {

using K = ParameterKind;

// In index order; the trailing number is the index.
constexpr ParameterInfo kParameters[] = {
    {"  fDryWetMix  ", K::Plain, 0.5f},            // 0
    {"  fFeedbackLimit  ", K::Plain, 0.5f},        // 1
    {"  fCompSense  ", K::Plain, 0.0f},            // 2
    {"  fSyncBPM  ", K::Plain, 0.453125f},         // 3
    {"  fRouting  ", K::Routing, 0.0f},            // 4
    {"  fInLR_0  ", K::Plain, 0.0f},               // 5
    {"  fDelay_0  ", K::Plain, 0.5f},              // 6
    {"  fFilt_0  ", K::FilterType, 0.0f},          // 7
    {"  fFreq_0  ", K::Plain, 0.0f},               // 8
    {"  fRes_0  ", K::Plain, 0.0f},                // 9
    {"  fDamp_0  ", K::Plain, 0.5f},               // 10
    {"  fFeedback0_0  ", K::Plain, 0.5f},          // 11
    {"  fFeedback1_0  ", K::Plain, 0.5f},          // 12
    {"  fFeedback2_0  ", K::Plain, 0.5f},          // 13
    {"  fFeedback3_0  ", K::Plain, 0.5f},          // 14
    {"  fOutV_0  ", K::Plain, 0.5f},               // 15
    {"  fOutLR_0  ", K::Plain, 0.0f},              // 16
    {"  fInLR_1  ", K::Plain, 1.0f},               // 17
    {"  fDelay_1  ", K::Plain, 0.5f},              // 18
    {"  fFilt_1  ", K::FilterType, 0.0f},          // 19
    {"  fFreq_1  ", K::Plain, 0.0f},               // 20
    {"  fRes_1  ", K::Plain, 0.0f},                // 21
    {"  fDamp_1  ", K::Plain, 0.5f},               // 22
    {"  fFeedback0_1  ", K::Plain, 0.5f},          // 23
    {"  fFeedback1_1  ", K::Plain, 0.5f},          // 24
    {"  fFeedback2_1  ", K::Plain, 0.5f},          // 25
    {"  fFeedback3_1  ", K::Plain, 0.5f},          // 26
    {"  fOutV_1  ", K::Plain, 0.5f},               // 27
    {"  fOutLR_1  ", K::Plain, 1.0f},              // 28
    {"  fInLR_2  ", K::Plain, 0.0f},               // 29
    {"  fDelay_2  ", K::Plain, 0.5f},              // 30
    {"  fFilt_2  ", K::FilterType, 0.0f},          // 31
    {"  fFreq_2  ", K::Plain, 0.0f},               // 32
    {"  fRes_2  ", K::Plain, 0.0f},                // 33
    {"  fDamp_2  ", K::Plain, 0.5f},               // 34
    {"  fFeedback0_2  ", K::Plain, 0.5f},          // 35
    {"  fFeedback1_2  ", K::Plain, 0.5f},          // 36
    {"  fFeedback2_2  ", K::Plain, 0.5f},          // 37
    {"  fFeedback3_2  ", K::Plain, 0.5f},          // 38
    {"  fOutV_2  ", K::Plain, 0.5f},               // 39
    {"  fOutLR_2  ", K::Plain, 0.0f},              // 40
    {"  fInLR_3  ", K::Plain, 1.0f},               // 41
    {"  fDelay_3  ", K::Plain, 0.5f},              // 42
    {"  fFilt_3  ", K::FilterType, 0.0f},          // 43
    {"  fFreq_3  ", K::Plain, 0.0f},               // 44
    {"  fRes_3  ", K::Plain, 0.0f},                // 45
    {"  fDamp_3  ", K::Plain, 0.5f},               // 46
    {"  fFeedback0_3  ", K::Plain, 0.5f},          // 47
    {"  fFeedback1_3  ", K::Plain, 0.5f},          // 48
    {"  fFeedback2_3  ", K::Plain, 0.5f},          // 49
    {"  fFeedback3_3  ", K::Plain, 0.5f},          // 50
    {"  fOutV_3  ", K::Plain, 0.5f},               // 51
    {"  fOutLR_3  ", K::Plain, 1.0f},              // 52
    {"  fLfoWave_0  ", K::LfoWave, 0.0f},          // 53
    {"  fLfoRate_0  ", K::Plain, 0.5f},            // 54
    {"  fLfoPhse_0  ", K::Plain, 0.0f},            // 55
    {"  fLfoDist_0  ", K::Plain, 0.0f},            // 56
    {"  fLfoDest0_0  ", K::ModDestination, 0.0f},  // 57
    {"  fLfoAmt00_0  ", K::Plain, 0.5f},           // 58
    {"  fLfoAmt01_0  ", K::Plain, 0.5f},           // 59
    {"  fLfoAmt02_0  ", K::Plain, 0.5f},           // 60
    {"  fLfoAmt03_0  ", K::Plain, 0.5f},           // 61
    {"  fLfoDest1_0  ", K::ModDestination, 0.0f},  // 62
    {"  fLfoAmt10_0  ", K::Plain, 0.5f},           // 63
    {"  fLfoAmt11_0  ", K::Plain, 0.5f},           // 64
    {"  fLfoAmt12_0  ", K::Plain, 0.5f},           // 65
    {"  fLfoAmt13_0  ", K::Plain, 0.5f},           // 66
    {"  fLfoWave_1  ", K::LfoWave, 0.0f},          // 67
    {"  fLfoRate_1  ", K::Plain, 0.5f},            // 68
    {"  fLfoPhse_1  ", K::Plain, 0.0f},            // 69
    {"  fLfoDist_1  ", K::Plain, 0.0f},            // 70
    {"  fLfoDest0_1  ", K::Lfo2Destination, 0.0f}, // 71
    {"  fLfoAmt00_1  ", K::Plain, 0.5f},           // 72
    {"  fLfoAmt01_1  ", K::Plain, 0.5f},           // 73
    {"  fLfoAmt02_1  ", K::Plain, 0.5f},           // 74
    {"  fLfoAmt03_1  ", K::Plain, 0.5f},           // 75
    {"  fLfoDest1_1  ", K::Lfo2Destination, 0.0f}, // 76
    {"  fLfoAmt10_1  ", K::Plain, 0.5f},           // 77
    {"  fLfoAmt11_1  ", K::Plain, 0.5f},           // 78
    {"  fLfoAmt12_1  ", K::Plain, 0.5f},           // 79
    {"  fLfoAmt13_1  ", K::Plain, 0.5f},           // 80
    {"  fStep0  ", K::Plain, 0.0f},                // 81
    {"  fStep1  ", K::Plain, 0.0f},                // 82
    {"  fStep2  ", K::Plain, 0.0f},                // 83
    {"  fStep3  ", K::Plain, 0.0f},                // 84
    {"  fStep4  ", K::Plain, 0.0f},                // 85
    {"  fStep5  ", K::Plain, 0.0f},                // 86
    {"  fStep6  ", K::Plain, 0.0f},                // 87
    {"  fStep7  ", K::Plain, 0.0f},                // 88
    {"  fStep8  ", K::Plain, 0.0f},                // 89
    {"  fStep9  ", K::Plain, 0.0f},                // 90
    {"  fStep10  ", K::Plain, 0.0f},               // 91
    {"  fStep11  ", K::Plain, 0.0f},               // 92
    {"  fStep12  ", K::Plain, 0.0f},               // 93
    {"  fStep13  ", K::Plain, 0.0f},               // 94
    {"  fStep14  ", K::Plain, 0.0f},               // 95
    {"  fStep15  ", K::Plain, 0.0f},               // 96
    {"  fStepTime  ", K::Plain, 0.5f},             // 97
    {"  fNumSteps  ", K::Plain, 1.0f},             // 98
    {"  fBlend  ", K::Plain, 0.0f},                // 99
    {"  fStepShift  ", K::Plain, 0.0f},            // 100
    {"  fStepDest0  ", K::ModDestination, 0.0f},   // 101
    {"  fStepAmt00  ", K::Plain, 0.5f},            // 102
    {"  fStepAmt01  ", K::Plain, 0.5f},            // 103
    {"  fStepAmt02  ", K::Plain, 0.5f},            // 104
    {"  fStepAmt03  ", K::Plain, 0.5f},            // 105
    {"  fStepDest1  ", K::ModDestination, 0.0f},   // 106
    {"  fStepAmt10  ", K::Plain, 0.5f},            // 107
    {"  fStepAmt11  ", K::Plain, 0.5f},            // 108
    {"  fStepAmt12  ", K::Plain, 0.5f},            // 109
    {"  fStepAmt13  ", K::Plain, 0.5f},            // 110
};
static_assert(std::size(kParameters) == ParameterIndex::kNumParameters);

// The first entry of each list is state 0, shown for every value outside the others' bands.
constexpr const char* kFilterTypeTexts[] = {"  Off  ", "  LowPass  ", "  HighPass  ",
                                            "  BandPass  ", "  Notch  "};
constexpr const char* kLfoWaveTexts[] = {"  Sine  ", "  Square 10  ", "  Square 01  ", "  Saw up  ",
                                         "  Saw down  "};
// The second LFO offers the first six of these.
constexpr const char* kDestinationTexts[] = {"  Off  ",     "  CutOff  ", "  Resonance  ",
                                             "  Output  ",  "  Pan  ",    "  2Delay  ",
                                             "  LFO2 D1  ", "  LFO2 D2  "};
constexpr int kLfo2Destinations = 6;

template <int states> const char* stateText(const char* const (&texts)[states], float value) {
    return texts[enumerationState(value, states)];
}

} // namespace

const ParameterInfo& parameterInfo(int index) {
    return kParameters[index];
}

int enumerationState(float value, int states) {
    // A float times a small integer is exact in double, so the band edges fall where the
    // decimal fractions say. The range test also rejects NaN before any conversion to int.
    const double state = std::trunc(static_cast<double>(value) * (states - 1));
    if (state >= 1.0 && state <= states - 1) {
        return static_cast<int>(state);
    }
    return 0;
}

const char* enumerationText(ParameterKind kind, float value) {
    switch (kind) {
    case K::Plain:
        return nullptr;
    case K::Routing:
        return value >= 0.5f ? "  Filt>Delay  " : "  Filt>In  ";
    case K::FilterType:
        return stateText(kFilterTypeTexts, value);
    case K::LfoWave:
        return stateText(kLfoWaveTexts, value);
    case K::ModDestination:
        return stateText(kDestinationTexts, value);
    case K::Lfo2Destination:
        return kDestinationTexts[enumerationState(value, kLfo2Destinations)];
    }
    return nullptr;
}
