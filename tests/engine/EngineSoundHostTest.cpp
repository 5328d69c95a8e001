// The engine's sound as a host hears it: the built module, opened through its entry point,
// driven with blocks of audio, parameters and (when asked) the host's time.
#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float kHostRate = 48000.0f;
constexpr int kHostBlock = 512;
constexpr int kMix = 0, kCompSense = 2, kSyncBpm = 3, kRouting = 4;
constexpr int kLfoWave0 = 53, kLfoDestination00 = 57, kLfoAmount000 = 58;
constexpr int kDestinations[] = {57, 62, 71, 76, 101, 106};

int lineParameter(int line, int offset) {
    return 5 + 12 * line + offset;
}
constexpr int kInLR = 0, kDelay = 1, kFilt = 2, kDamp = 5, kFeedback0 = 6, kOutV = 10, kOutLR = 11;

class EngineSoundHostTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.loaded()) << host.loadError();
        ASSERT_NE(host.open(), nullptr);
        host.start(kHostRate, kHostBlock);
        isolateLineZero();
    }

    // Only line 0 sounds, hard left, through an Off filter and the hard limiter at level 1;
    // nothing modulates.
    void isolateLineZero() {
        host.setParameter(kMix, 1.0f);
        host.setParameter(kCompSense, 0.5f);
        host.setParameter(1, 0.5f);
        host.setParameter(kRouting, 0.0f);
        for (int destination : kDestinations) {
            host.setParameter(destination, 0.0f);
        }
        for (int line = 0; line < 4; ++line) {
            host.setParameter(lineParameter(line, kOutV), line == 0 ? 0.5f : 0.0f);
            host.setParameter(lineParameter(line, kDamp), 1.0f);
            host.setParameter(lineParameter(line, kFilt), 0.0f);
            host.setParameter(lineParameter(line, kInLR), 0.0f);
            host.setParameter(lineParameter(line, kOutLR), 0.0f);
            for (int from = 0; from < 4; ++from) {
                host.setParameter(lineParameter(line, kFeedback0 + from), 0.5f);
            }
        }
    }

    // The first sample of the left output that is not silent, or -1.
    static int firstSound(const std::vector<float>& output) {
        const auto found = std::find_if(output.begin(), output.end(),
                                        [](float sample) { return std::fabs(sample) > 1e-6f; });
        return found == output.end() ? -1 : static_cast<int>(found - output.begin());
    }

    // Runs the input through in blocks of kHostBlock; accumulate uses process.
    void run(const std::vector<float>& left, std::vector<float>& outLeft,
             std::vector<float>& outRight, bool accumulate = false, double ppqStep = 0.0) {
        for (std::size_t start = 0; start < left.size(); start += kHostBlock) {
            const std::size_t length = std::min<std::size_t>(kHostBlock, left.size() - start);
            std::vector<float> inL(left.begin() + start, left.begin() + start + length);
            std::vector<float> inR(length, 0.0f);
            std::vector<float> outL(outLeft.begin() + start, outLeft.begin() + start + length);
            std::vector<float> outR(outRight.begin() + start, outRight.begin() + start + length);
            accumulate ? host.process(inL, inR, outL, outR)
                       : host.processReplacing(inL, inR, outL, outR);
            std::copy(outL.begin(), outL.end(), outLeft.begin() + start);
            std::copy(outR.begin(), outR.end(), outRight.begin() + start);
            host.timeInfo.ppqPos += ppqStep;
        }
    }

    PluginHarness host;
};

TEST_F(EngineSoundHostTest, AnImpulseEchoesAfterTheDelayTime) {
    host.setParameter(lineParameter(0, kDelay), 0.1f); // 200 ms
    EXPECT_EQ(host.getParameter(1002), 200.0f);
    std::vector<float> input(12000, 0.0f), left(12000, 0.0f), right(12000, 0.0f);
    input[1000] = 1.0f;
    run(input, left, right);
    for (std::size_t n = 0; n < input.size(); ++n) {
        const float expected = n == 1000 + 9600 ? 0.375f : 0.0f;
        ASSERT_NEAR(left[n], expected, 1e-6) << "sample " << n;
        ASSERT_NEAR(right[n], 0.0f, 1e-6) << "sample " << n;
    }
}

// A host sets the parameters (or loads a program) and then switches the effect on at its rate,
// touching no parameter afterwards: the echo still comes after 200 ms at that rate.
TEST_F(EngineSoundHostTest, AnEchoKeepsItsTimeAtTheRateTheHostSwitchesOnWith) {
    const struct {
        float earlierRate; // 0: none before, the effect is switched on once
        float rate;
        int echoAfter; // 0.1 x 2000 ms
    } cases[] = {{0.0f, 44100.0f, 8820}, {44100.0f, 48000.0f, 9600}, {0.0f, 96000.0f, 19200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.rate << " Hz");
        ASSERT_NE(host.open(), nullptr); // a new effect, made at its own initial rate
        if (c.earlierRate > 0.0f) {
            host.start(c.earlierRate, kHostBlock);
        }
        isolateLineZero();
        host.setParameter(lineParameter(0, kDelay), 0.1f);
        host.dispatch(effMainsChanged, 0, 0);
        host.start(c.rate, kHostBlock);

        std::vector<float> input(24000, 0.0f), left(24000, 0.0f), right(24000, 0.0f);
        input[1000] = 1.0f; // after the first blocks' ramps
        run(input, left, right);
        EXPECT_EQ(firstSound(left), 1000 + c.echoAfter);
        EXPECT_NEAR(left[1000 + c.echoAfter], 0.375f, 1e-6);
        EXPECT_EQ(host.getParameter(1002), 200.0f);
    }
}

TEST_F(EngineSoundHostTest, ProcessAddsToTheOutputAndPanicSilencesTheLines) {
    host.setParameter(lineParameter(0, kDelay), 0.05f); // 100 ms
    std::vector<float> input(8000, 0.0f), left(8000, 0.5f), right(8000, 0.5f);
    input[100] = 1.0f;
    run(input, left, right, true);
    EXPECT_NEAR(left[100 + 4800], 0.5f + 0.375f, 1e-6);
    EXPECT_NEAR(left[50], 0.5f, 1e-6);

    input.assign(8000, 0.0f);
    input[4000] = 1.0f; // its echo would come at 8800
    left.assign(8000, 0.0f);
    run(input, left, right);
    host.setParameter(998, 0.0f);
    std::vector<float> later(8000, 0.0f), laterLeft(8000, 0.0f), laterRight(8000, 0.0f);
    run(later, laterLeft, laterRight);
    for (float sample : laterLeft) {
        ASSERT_NEAR(sample, 0.0f, 1e-9);
    }
}

// LFO 1 switches line 0's level between 1 and 0 every half beat (a square wave over one beat);
// line 0 passes its input straight to the output, so a constant input shows the wave.
TEST_F(EngineSoundHostTest, FollowingTheHostTheLfoRunsOnTheHostsBeats) {
    host.setParameter(kSyncBpm, 0.0f);
    host.setParameter(kLfoWave0, 0.25f);
    host.setParameter(kLfoWave0 + 1, 0.5f);     // one beat per cycle
    host.setParameter(kLfoWave0 + 2, 0.0f);     // no phase offset
    host.setParameter(kLfoWave0 + 3, 0.0f);     // no spread
    host.setParameter(kLfoDestination00, 0.5f); // "  Output  "
    host.setParameter(kLfoAmount000, 1.0f);
    host.setParameter(lineParameter(0, kOutV), 0.0f);
    host.setParameter(lineParameter(0, kDamp), 0.0f);
    host.answerTime = true;
    host.timeInfo.tempo = 120.0;
    host.timeInfo.sampleRate = kHostRate;
    host.timeInfo.ppqPos = 0.0;
    host.timeInfo.flags = kVstPpqPosValid | kVstTempoValid;

    // 120 beats per minute: a beat is 24000 samples, a block 512/24000 beats.
    const int frames = 93 * kHostBlock; // ends shortly before the second beat
    std::vector<float> input(frames, 1.0f), left(frames, 0.0f), right(frames, 0.0f);
    run(input, left, right, false, kHostBlock / 24000.0);
    for (int n : {3000, 9000, 27000, 33000}) {
        EXPECT_NEAR(left[n], 0.75f, 1e-5) << "sample " << n; // first half of each beat
    }
    for (int n : {15000, 21000, 39000, 45000}) {
        EXPECT_NEAR(left[n], 0.0f, 1e-5) << "sample " << n;
    }
    EXPECT_NEAR(host.getParameter(1100), host.timeInfo.ppqPos - kHostBlock / 24000.0, 1e-4);
    EXPECT_TRUE(
        std::any_of(host.requests.begin(), host.requests.end(), [](const HostRequest& request) {
            return request.opcode == audioMasterGetTime;
        }));

    // The transport jumps back into the first half of a beat: the level follows at once.
    ASSERT_NEAR(left[frames - 1], 0.0f, 1e-5);
    host.timeInfo.ppqPos = 7.2;
    std::vector<float> jump(kHostBlock, 1.0f), jumpLeft(kHostBlock, 0.0f),
        jumpRight(kHostBlock, 0.0f);
    run(jump, jumpLeft, jumpRight);
    EXPECT_NEAR(jumpLeft[kHostBlock - 1], 0.75f, 1e-5);
    EXPECT_NEAR(host.getParameter(1100), 7.2f, 1e-6);
}

} // namespace
