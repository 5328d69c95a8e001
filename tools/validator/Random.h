// The validator's random numbers: xoshiro256** seeded through splitmix64, so that one seed gives
// the same sequence on every platform and compiler and a failure replays from the seed it prints.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(std::uint64_t seed);

    std::uint64_t next();
    // 0 .. bound - 1; 0 when bound is 0.
    std::uint32_t below(std::uint32_t bound);
    // low .. high, both included; low when high < low.
    int between(int low, int high);
    float unit();    // 0 (included) .. 1 (excluded)
    float bipolar(); // -1 .. 1
    bool chance(double probability);
    // A parameter value as a careless host or a broken automation lane sends it: mostly 0..1,
    // sometimes exactly 0 or 1, NaN, plus or minus infinity, negative, huge or subnormal.
    float parameterValue();

private:
    std::uint64_t state[4];
};
