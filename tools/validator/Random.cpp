#include "tools/validator/Random.h"

#include <limits>

namespace {

std::uint64_t splitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t rotateLeft(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

} // namespace

Random::Random(std::uint64_t seed) {
    for (std::uint64_t& word : state) {
        word = splitMix(seed);
    }
}

std::uint64_t Random::next() {
    const std::uint64_t result = rotateLeft(state[1] * 5, 7) * 9;
    const std::uint64_t t = state[1] << 17;
    state[2] ^= state[0];
    state[3] ^= state[1];
    state[1] ^= state[2];
    state[0] ^= state[3];
    state[2] ^= t;
    state[3] = rotateLeft(state[3], 45);
    return result;
}

std::uint32_t Random::below(std::uint32_t bound) {
    return bound == 0 ? 0 : static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
}

int Random::between(int low, int high) {
    if (high <= low) {
        return low;
    }
    const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
    return static_cast<int>(low + static_cast<std::int64_t>(next() % span));
}

float Random::unit() {
    return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f);
}

float Random::bipolar() {
    return 2.0f * unit() - 1.0f;
}

bool Random::chance(double probability) {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0) < probability;
}

float Random::parameterValue() {
    using limits = std::numeric_limits<float>;
    switch (below(16)) {
    case 0:
        return limits::quiet_NaN();
    case 1:
        return limits::infinity();
    case 2:
        return -limits::infinity();
    case 3:
        return -unit() * 100.0f;
    case 4:
        return below(2) == 0 ? 1.0e30f : limits::max();
    case 5:
        return limits::denorm_min() * static_cast<float>(1 + below(1000));
    case 6:
        return 1.0f + unit() * 10.0f;
    case 7:
        return below(2) == 0 ? 0.0f : 1.0f;
    default:
        return unit();
    }
}
