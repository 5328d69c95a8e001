#include "effect/ParameterTable.h"

#include "engine/ParameterStates.h"
#include "engine/SafeConversion.h"

#include <iterator>

namespace {

using engine::SafeConversion::enumerationState;
using K = ParameterKind;

// In index order; the trailing number is the index.
constexpr ParameterInfo kParameters[] = {
    {"  fDryWetMix  ", K::Plain},            // 0
    {"  fFeedbackLimit  ", K::Plain},        // 1
    {"  fCompSense  ", K::Plain},            // 2
    {"  fSyncBPM  ", K::Plain},              // 3
    {"  fRouting  ", K::Routing},            // 4
    {"  fInLR_0  ", K::Plain},               // 5
    {"  fDelay_0  ", K::Plain},              // 6
    {"  fFilt_0  ", K::FilterType},          // 7
    {"  fFreq_0  ", K::Plain},               // 8
    {"  fRes_0  ", K::Plain},                // 9
    {"  fDamp_0  ", K::Plain},               // 10
    {"  fFeedback0_0  ", K::Plain},          // 11
    {"  fFeedback1_0  ", K::Plain},          // 12
    {"  fFeedback2_0  ", K::Plain},          // 13
    {"  fFeedback3_0  ", K::Plain},          // 14
    {"  fOutV_0  ", K::Plain},               // 15
    {"  fOutLR_0  ", K::Plain},              // 16
    {"  fInLR_1  ", K::Plain},               // 17
    {"  fDelay_1  ", K::Plain},              // 18
    {"  fFilt_1  ", K::FilterType},          // 19
    {"  fFreq_1  ", K::Plain},               // 20
    {"  fRes_1  ", K::Plain},                // 21
    {"  fDamp_1  ", K::Plain},               // 22
    {"  fFeedback0_1  ", K::Plain},          // 23
    {"  fFeedback1_1  ", K::Plain},          // 24
    {"  fFeedback2_1  ", K::Plain},          // 25
    {"  fFeedback3_1  ", K::Plain},          // 26
    {"  fOutV_1  ", K::Plain},               // 27
    {"  fOutLR_1  ", K::Plain},              // 28
    {"  fInLR_2  ", K::Plain},               // 29
    {"  fDelay_2  ", K::Plain},              // 30
    {"  fFilt_2  ", K::FilterType},          // 31
    {"  fFreq_2  ", K::Plain},               // 32
    {"  fRes_2  ", K::Plain},                // 33
    {"  fDamp_2  ", K::Plain},               // 34
    {"  fFeedback0_2  ", K::Plain},          // 35
    {"  fFeedback1_2  ", K::Plain},          // 36
    {"  fFeedback2_2  ", K::Plain},          // 37
    {"  fFeedback3_2  ", K::Plain},          // 38
    {"  fOutV_2  ", K::Plain},               // 39
    {"  fOutLR_2  ", K::Plain},              // 40
    {"  fInLR_3  ", K::Plain},               // 41
    {"  fDelay_3  ", K::Plain},              // 42
    {"  fFilt_3  ", K::FilterType},          // 43
    {"  fFreq_3  ", K::Plain},               // 44
    {"  fRes_3  ", K::Plain},                // 45
    {"  fDamp_3  ", K::Plain},               // 46
    {"  fFeedback0_3  ", K::Plain},          // 47
    {"  fFeedback1_3  ", K::Plain},          // 48
    {"  fFeedback2_3  ", K::Plain},          // 49
    {"  fFeedback3_3  ", K::Plain},          // 50
    {"  fOutV_3  ", K::Plain},               // 51
    {"  fOutLR_3  ", K::Plain},              // 52
    {"  fLfoWave_0  ", K::LfoWave},          // 53
    {"  fLfoRate_0  ", K::Plain},            // 54
    {"  fLfoPhse_0  ", K::Plain},            // 55
    {"  fLfoDist_0  ", K::Plain},            // 56
    {"  fLfoDest0_0  ", K::ModDestination},  // 57
    {"  fLfoAmt00_0  ", K::Plain},           // 58
    {"  fLfoAmt01_0  ", K::Plain},           // 59
    {"  fLfoAmt02_0  ", K::Plain},           // 60
    {"  fLfoAmt03_0  ", K::Plain},           // 61
    {"  fLfoDest1_0  ", K::ModDestination},  // 62
    {"  fLfoAmt10_0  ", K::Plain},           // 63
    {"  fLfoAmt11_0  ", K::Plain},           // 64
    {"  fLfoAmt12_0  ", K::Plain},           // 65
    {"  fLfoAmt13_0  ", K::Plain},           // 66
    {"  fLfoWave_1  ", K::LfoWave},          // 67
    {"  fLfoRate_1  ", K::Plain},            // 68
    {"  fLfoPhse_1  ", K::Plain},            // 69
    {"  fLfoDist_1  ", K::Plain},            // 70
    {"  fLfoDest0_1  ", K::Lfo2Destination}, // 71
    {"  fLfoAmt00_1  ", K::Plain},           // 72
    {"  fLfoAmt01_1  ", K::Plain},           // 73
    {"  fLfoAmt02_1  ", K::Plain},           // 74
    {"  fLfoAmt03_1  ", K::Plain},           // 75
    {"  fLfoDest1_1  ", K::Lfo2Destination}, // 76
    {"  fLfoAmt10_1  ", K::Plain},           // 77
    {"  fLfoAmt11_1  ", K::Plain},           // 78
    {"  fLfoAmt12_1  ", K::Plain},           // 79
    {"  fLfoAmt13_1  ", K::Plain},           // 80
    {"  fStep0  ", K::Plain},                // 81
    {"  fStep1  ", K::Plain},                // 82
    {"  fStep2  ", K::Plain},                // 83
    {"  fStep3  ", K::Plain},                // 84
    {"  fStep4  ", K::Plain},                // 85
    {"  fStep5  ", K::Plain},                // 86
    {"  fStep6  ", K::Plain},                // 87
    {"  fStep7  ", K::Plain},                // 88
    {"  fStep8  ", K::Plain},                // 89
    {"  fStep9  ", K::Plain},                // 90
    {"  fStep10  ", K::Plain},               // 91
    {"  fStep11  ", K::Plain},               // 92
    {"  fStep12  ", K::Plain},               // 93
    {"  fStep13  ", K::Plain},               // 94
    {"  fStep14  ", K::Plain},               // 95
    {"  fStep15  ", K::Plain},               // 96
    {"  fStepTime  ", K::Plain},             // 97
    {"  fNumSteps  ", K::Plain},             // 98
    {"  fBlend  ", K::Plain},                // 99
    {"  fStepShift  ", K::Plain},            // 100
    {"  fStepDest0  ", K::ModDestination},   // 101
    {"  fStepAmt00  ", K::Plain},            // 102
    {"  fStepAmt01  ", K::Plain},            // 103
    {"  fStepAmt02  ", K::Plain},            // 104
    {"  fStepAmt03  ", K::Plain},            // 105
    {"  fStepDest1  ", K::ModDestination},   // 106
    {"  fStepAmt10  ", K::Plain},            // 107
    {"  fStepAmt11  ", K::Plain},            // 108
    {"  fStepAmt12  ", K::Plain},            // 109
    {"  fStepAmt13  ", K::Plain},            // 110
};
static_assert(std::size(kParameters) == ParameterIndex::kNumParameters);

// The first entry of each list is state 0, shown for every value outside the others' bands.
constexpr const char* kFilterTypeTexts[] = {"  Off  ", "  LowPass  ", "  HighPass  ",
                                            "  BandPass  ", "  Notch  "};
constexpr const char* kLfoWaveTexts[] = {"  Sine  ", "  Square 10  ", "  Square 01  ", "  Saw up  ",
                                         "  Saw down  "};
// The second LFO offers the first six of these.
constexpr const char* kDestinationTexts[engine::ParameterStates::kModDestinations] = {
    "  Off  ", "  CutOff  ", "  Resonance  ", "  Output  ",
    "  Pan  ", "  2Delay  ", "  LFO2 D1  ",   "  LFO2 D2  "};

template <int states> const char* stateText(const char* const (&texts)[states], float value) {
    return texts[enumerationState(value, states)];
}

} // namespace

const ParameterInfo& parameterInfo(int index) {
    return kParameters[index];
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
        return kDestinationTexts[enumerationState(value,
                                                  engine::ParameterStates::kLfo2Destinations)];
    }
    return nullptr;
}
