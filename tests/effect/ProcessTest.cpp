// Audio blocks as a host hands them over: output modes, the host's transport, bad buffers.
#include "tests/effect/EffectHostTest.h"

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

namespace {

constexpr int kDryWetMix = 0, kSyncBpm = 3;
constexpr int kSongPosition = 1100;
constexpr float kOwnTempo120 = 0.453125f;

class EffectProcessing : public EffectHostTest {
protected:
    void runBlock(int frames, bool accumulate = false, float outputStart = 0.0f) {
        left.assign(frames, 0.5f);
        right.assign(frames, -0.25f);
        outLeft.assign(frames, outputStart);
        outRight.assign(frames, outputStart);
        if (accumulate) {
            host.process(left, right, outLeft, outRight);
        } else {
            host.processReplacing(left, right, outLeft, outRight);
        }
    }

    int timeRequests() const {
        int count = 0;
        for (const HostRequest& request : host.requests) {
            if (request.opcode == audioMasterGetTime) {
                EXPECT_EQ(request.value, kVstPpqPosValid | kVstTempoValid);
                EXPECT_EQ(request.effect, host.effect());
                ++count;
            }
        }
        return count;
    }

    std::vector<float> left, right, outLeft, outRight;
};

TEST_F(EffectProcessing, ReplacingWritesAndProcessAddsTheSameSignal) {
    host.setParameter(kDryWetMix, 0.0f); // the dry input alone
    host.start(44100.0f, 64);
    runBlock(100, false, 7.0f);
    for (int n = 0; n < 100; ++n) {
        ASSERT_NEAR(outLeft[n], 0.5f, 1e-6f) << n;
        ASSERT_NEAR(outRight[n], -0.25f, 1e-6f) << n;
    }
    runBlock(100, true, 7.0f);
    for (int n = 0; n < 100; ++n) {
        ASSERT_NEAR(outLeft[n], 7.5f, 1e-6f) << n;
        ASSERT_NEAR(outRight[n], 6.75f, 1e-6f) << n;
    }
}

TEST_F(EffectProcessing, FollowsTheHostsSongPositionWhenSynced) {
    host.setParameter(kSyncBpm, 0.0f);
    host.start(44100.0f, 64);
    host.answerTime = true;
    host.timeInfo.ppqPos = 12.5;
    host.timeInfo.tempo = 90.0;
    host.timeInfo.sampleRate = 44100.0;
    host.requests.clear();
    runBlock(64);
    EXPECT_EQ(timeRequests(), 1);
    EXPECT_EQ(host.getParameter(kSongPosition), 12.5f);

    // A host without time information leaves the position where it was.
    host.answerTime = false;
    runBlock(64);
    EXPECT_EQ(timeRequests(), 2);
    EXPECT_EQ(host.getParameter(kSongPosition), 12.5f);
}

TEST_F(EffectProcessing, KeepsItsOwnClockWithoutAskingTheHost) {
    host.setParameter(kSyncBpm, kOwnTempo120);
    host.start(44100.0f, 4410);
    host.answerTime = true;
    host.timeInfo.ppqPos = 99.0;
    host.requests.clear();
    runBlock(4410); // a tenth of a second at 120 beats per minute
    EXPECT_EQ(timeRequests(), 0);
    EXPECT_NEAR(host.getParameter(kSongPosition), 0.2f, 1e-6f);
}

// Root mean square of both channels over a stretch of output.
float rms(const std::vector<float>& left, const std::vector<float>& right) {
    double sum = 0.0;
    for (std::size_t n = 0; n < left.size(); ++n) {
        sum += static_cast<double>(left[n]) * left[n] + static_cast<double>(right[n]) * right[n];
    }
    return static_cast<float>(std::sqrt(sum / (2.0 * left.size())));
}

TEST_F(EffectProcessing, EveryProgramLetsANoiseBurstDieAway) {
    constexpr float rate = 44100.0f;
    constexpr int halfSecond = 22050;
    constexpr double tempo = 120.0;
    for (int program = 0; program < 10; ++program) {
        ASSERT_NE(host.open(), nullptr);
        host.dispatch(effSetProgram, 0, program);
        host.start(rate, halfSecond);
        host.answerTime = true;
        host.timeInfo.tempo = tempo;
        host.timeInfo.sampleRate = rate;
        std::mt19937 random(program);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        std::vector<float> windows; // output level of each half second
        for (int window = 0; window < 12; ++window) {
            host.timeInfo.ppqPos = window * 0.5 * tempo / 60.0;
            left.resize(halfSecond);
            right.resize(halfSecond);
            for (int n = 0; n < halfSecond; ++n) {
                left[n] = window == 0 ? noise(random) : 0.0f;
                right[n] = window == 0 ? noise(random) : 0.0f;
            }
            outLeft.assign(halfSecond, 0.0f);
            outRight.assign(halfSecond, 0.0f);
            host.processReplacing(left, right, outLeft, outRight);
            for (int n = 0; n < halfSecond; ++n) {
                ASSERT_TRUE(std::isfinite(outLeft[n]) && std::isfinite(outRight[n]))
                    << "program " << program << " window " << window << " sample " << n;
            }
            windows.push_back(rms(outLeft, outRight));
        }
        // Heard: the program answers the burst, and its echoes fade instead of sustaining.
        EXPECT_GT(windows[0], 0.01f) << "program " << program;
        EXPECT_LT(windows.back(), 0.25f * windows[1] + 1e-6f) << "program " << program;
    }
}

TEST_F(EffectProcessing, MissingChannelsAreNotProcessed) {
    host.start(44100.0f, 64);
    AEffect* const effect = host.effect();
    std::vector<float> samples(64, 0.5f), output(64, 3.0f);
    float* channels[] = {samples.data(), nullptr};
    float* outputs[] = {output.data(), output.data()};
    effect->processReplacing(effect, nullptr, outputs, 64);
    effect->processReplacing(effect, channels, outputs, 64);
    effect->process(effect, outputs, nullptr, 64);
    effect->process(effect, outputs, channels, 64);
    for (int n = 0; n < 64; ++n) {
        ASSERT_EQ(output[n], 3.0f) << n;
    }
}

} // namespace
