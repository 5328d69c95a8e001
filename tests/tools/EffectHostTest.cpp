#include "ErrorMessage.h"
#include "FakeEffect.h"

#include "tools/EffectHost.h"
#include "tools/HostError.h"
#include "tools/HostTransport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

AEffect* VSTCALLBACK noEffect(audioMasterCallback) {
    return nullptr;
}

} // namespace

TEST(EffectHost, AnswersTheVersionQueryAndTheTimeWhileTheEffectIsBeingMade) {
    FakeEffect fake;
    EffectHost host(&FakeEffect::entryPoint);
    EXPECT_EQ(fake.versionAnswer, 2400);
    EXPECT_TRUE(fake.timeDuringEntry);
    ASSERT_FALSE(fake.calls.empty());
    EXPECT_EQ(fake.calls.front().opcode, effOpen);
}

TEST(EffectHost, RefusesEntryPointsThatGiveNoUsableRecord) {
    EXPECT_NE(errorOf([] { EffectHost host(&noEffect); }).find("returned no effect"),
              std::string::npos);

    FakeEffect fake;
    fake.record.magic = fourCharacterCode('V', 's', 't', 'X');
    EXPECT_NE(errorOf([] { EffectHost host(&FakeEffect::entryPoint); }).find("magic"),
              std::string::npos);
    EXPECT_TRUE(fake.calls.empty()) << "nothing of a record with the wrong magic may be called";
}

TEST(EffectHost, FindsParametersAndProgramsByNumberOrName) {
    FakeEffect fake;
    EffectHost host(&FakeEffect::entryPoint);
    struct Case {
        const char* text;
        int parameter; // -1: an error naming `error`
        const char* error;
    };
    const Case parameters[] = {
        {"0", 0, ""},
        {"3", 3, ""},
        {"Gain", 0, ""},
        {"gAIN", 0, ""},
        {"delay time", 1, ""},    // the effect's surrounding blanks do not count
        {"  Delay Time ", 1, ""}, // nor the user's
        {"4", -1, "parameter 4 is out of range (the plug-in has 4 parameters, 0..3)"},
        {"99999999999", -1, "unknown parameter"},
        {"Volume", -1, "unknown parameter \"Volume\""},
        {"mix", -1, "ambiguous (2, 3)"},
        {"", -1, "unknown parameter"},
        {"-1", -1, "unknown parameter"},
    };
    for (const Case& c : parameters) {
        SCOPED_TRACE(c.text);
        if (c.parameter >= 0) {
            EXPECT_EQ(host.findParameter(c.text), c.parameter);
        } else {
            EXPECT_NE(errorOf([&] { host.findParameter(c.text); }).find(c.error), std::string::npos)
                << errorOf([&] { host.findParameter(c.text); });
        }
    }
    EXPECT_EQ(host.findProgram("1"), 1);
    EXPECT_EQ(host.findProgram("dark room"), 1);
    EXPECT_EQ(host.findProgram("Init"), 2);
    EXPECT_NE(errorOf([&] { host.findProgram("3"); }).find("out of range"), std::string::npos);
    EXPECT_NE(errorOf([&] { host.findProgram("Bright"); }).find("unknown program"),
              std::string::npos);
}

TEST(HostTransport, RewritesTheRecordAtEveryMove) {
    HostTransport transport;
    transport.configure(48000.0, 120.0, 4.0);
    transport.moveTo(24000);
    EXPECT_EQ(transport.timeInfo()->ppqPos, 5.0);
    transport.timeInfo()->tempo = -1.0; // an effect that writes where it should only read
    transport.moveTo(48000);
    EXPECT_EQ(transport.timeInfo()->tempo, 120.0);
    EXPECT_EQ(transport.timeInfo()->ppqPos, 6.0);
    EXPECT_EQ(transport.timeInfo()->samplePos, 48000.0);
}
