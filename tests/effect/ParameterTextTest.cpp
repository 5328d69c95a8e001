// Names, label and host value texts of the 111 parameters, as a host reads them.
#include "tests/effect/EffectHostTest.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The keys in index order, spelled out from their groups.
std::vector<std::string> expectedKeys() {
    std::vector<std::string> keys = {"fDryWetMix", "fFeedbackLimit", "fCompSense", "fSyncBPM",
                                     "fRouting"};
    const char* const lineKeys[] = {"fInLR",      "fDelay",     "fFilt",      "fFreq",
                                    "fRes",       "fDamp",      "fFeedback0", "fFeedback1",
                                    "fFeedback2", "fFeedback3", "fOutV",      "fOutLR"};
    for (int i = 0; i < 4; ++i) {
        for (const char* key : lineKeys) {
            keys.push_back(std::string(key) + "_" + std::to_string(i));
        }
    }
    const char* const lfoKeys[] = {"fLfoWave",  "fLfoRate",  "fLfoPhse",  "fLfoDist",  "fLfoDest0",
                                   "fLfoAmt00", "fLfoAmt01", "fLfoAmt02", "fLfoAmt03", "fLfoDest1",
                                   "fLfoAmt10", "fLfoAmt11", "fLfoAmt12", "fLfoAmt13"};
    for (int k = 0; k < 2; ++k) {
        for (const char* key : lfoKeys) {
            keys.push_back(std::string(key) + "_" + std::to_string(k));
        }
    }
    for (int s = 0; s < 16; ++s) {
        keys.push_back("fStep" + std::to_string(s));
    }
    for (const char* key : {"fStepTime", "fNumSteps", "fBlend", "fStepShift", "fStepDest0",
                            "fStepAmt00", "fStepAmt01", "fStepAmt02", "fStepAmt03", "fStepDest1",
                            "fStepAmt10", "fStepAmt11", "fStepAmt12", "fStepAmt13"}) {
        keys.push_back(key);
    }
    return keys;
}

struct Enumeration {
    std::vector<int> indices;
    std::vector<const char*> states; // state 0 first
};

const std::vector<const char*> kDestinations = {"  Off  ",     "  CutOff  ", "  Resonance  ",
                                                "  Output  ",  "  Pan  ",    "  2Delay  ",
                                                "  LFO2 D1  ", "  LFO2 D2  "};

const Enumeration kEnumerations[] = {
    {{7, 19, 31, 43}, {"  Off  ", "  LowPass  ", "  HighPass  ", "  BandPass  ", "  Notch  "}},
    {{53, 67}, {"  Sine  ", "  Square 10  ", "  Square 01  ", "  Saw up  ", "  Saw down  "}},
    {{57, 62, 101, 106}, kDestinations},
    {{71, 76}, {kDestinations.begin(), kDestinations.begin() + 6}},
};
constexpr int kRouting = 4;

bool isEnumerated(int index) {
    if (index == kRouting) {
        return true;
    }
    for (const Enumeration& enumeration : kEnumerations) {
        for (const int member : enumeration.indices) {
            if (member == index) {
                return true;
            }
        }
    }
    return false;
}

using EffectParameterTexts = EffectHostTest;

TEST_F(EffectParameterTexts, EveryParameterHasItsKeyAsNameAndTheCommonLabel) {
    const std::vector<std::string> keys = expectedKeys();
    ASSERT_EQ(keys.size(), 111u);
    ASSERT_EQ(host.effect()->numParams, 111);
    for (int index = 0; index < 111; ++index) {
        EXPECT_EQ(host.parameterName(index), "  " + keys[index] + "  ") << index;
        EXPECT_EQ(host.parameterLabel(index), "  value  ") << index;
    }
    EXPECT_EQ(host.parameterName(29), "  fInLR_2  ");
    EXPECT_EQ(host.parameterName(1), "  fFeedbackLimit  ");
}

TEST_F(EffectParameterTexts, IndicesOutsideTheTableWriteNothing) {
    for (const VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        for (const VstInt32 index : {111, 112, -1, 998, 1000, 1200}) {
            char text[64];
            std::memset(text, '#', sizeof text);
            host.dispatch(opcode, index, 0, text);
            EXPECT_EQ(std::string(text, sizeof text), std::string(sizeof text, '#'))
                << "opcode " << opcode << " index " << index;
        }
    }
}

TEST_F(EffectParameterTexts, EnumeratedValuesShowTheirStateFromTheBandEdgeOn) {
    for (const Enumeration& enumeration : kEnumerations) {
        const int last = static_cast<int>(enumeration.states.size()) - 1;
        for (const int index : enumeration.indices) {
            for (int state = 0; state <= last; ++state) {
                // The float nearest state / last starts the band; the float below ends the one
                // before.
                const float edge = static_cast<float>(state) / static_cast<float>(last);
                host.setParameter(index, edge);
                EXPECT_EQ(host.parameterDisplay(index), enumeration.states[state])
                    << index << " at " << edge;
                if (state > 0) {
                    host.setParameter(index, std::nextafter(edge, 0.0f));
                    EXPECT_EQ(host.parameterDisplay(index), enumeration.states[state - 1])
                        << index << " just below " << edge;
                }
            }
            for (const float outside : {1.5f, -0.25f, -1.0f, 100.0f}) {
                host.setParameter(index, outside);
                EXPECT_EQ(host.parameterDisplay(index), enumeration.states[0])
                    << index << " at " << outside;
            }
        }
    }
}

TEST_F(EffectParameterTexts, RoutingShowsWhereTheFiltersSit) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{0.0f, "  Filt>In  "},
                 {std::nextafter(0.5f, 0.0f), "  Filt>In  "},
                 {0.5f, "  Filt>Delay  "},
                 {1.0f, "  Filt>Delay  "},
                 {-1.0f, "  Filt>In  "}};
    for (const auto& c : cases) {
        host.setParameter(kRouting, c.value);
        EXPECT_EQ(host.parameterDisplay(kRouting), c.text) << c.value;
    }
}

TEST_F(EffectParameterTexts, PlainValuesShowTheStoredValueInEightCharacters) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{0.0f, "0.000000"}, {0.25f, "0.250000"}, {1.0f, "1.000000"}, {0.5f, "0.500000"}};
    for (int index = 0; index < 111; ++index) {
        if (isEnumerated(index)) {
            continue;
        }
        for (const auto& c : cases) {
            host.setParameter(index, c.value);
            EXPECT_EQ(host.parameterDisplay(index), c.text) << index << " at " << c.value;
        }
    }
    // Digits are integer parts of the 32-bit value, so these read one below their decimals.
    host.setParameter(0, 0.7f);
    EXPECT_EQ(host.parameterDisplay(0), "0.699999");
    host.setParameter(0, 0.340533f);
    EXPECT_EQ(host.parameterDisplay(0), "0.340532");
}

} // namespace
