// Audio channels for one block size, as a host hands them over, with guard samples on both sides
// of every channel: a write before the first frame or past the last shows in the guards.
#pragma once

#include <string>
#include <vector>

class Random;

class GuardedChannels {
public:
    static constexpr int kGuardFrames = 64;

    GuardedChannels(int channels, int frames);

    int channels() const { return static_cast<int>(pointerArray.size()); }
    int frames() const { return blockFrames; }
    // The host's array of channel pointers.
    float** pointers() { return pointerArray.data(); }
    float* channel(int index) { return pointerArray[static_cast<std::size_t>(index)]; }
    const float* channel(int index) const { return pointerArray[static_cast<std::size_t>(index)]; }

    void fill(float value);
    // Uniform noise of the given peak, different on every channel.
    void fillNoise(Random& random, float peak);
    // "channel 1, 2 frames past the block", or empty when every guard is intact.
    std::string damagedGuard() const;
    // Writes the guards again after a damage was reported.
    void restoreGuards();

private:
    int blockFrames;
    std::vector<std::vector<float>> storage;
    std::vector<float*> pointerArray;
};
