// The saturation's arctangent against the library's double-precision one, rounded to float, for
// every one of the 2^32 float bit patterns: at most 2 ulp apart, NaN for NaN. Split across the
// machine's threads; about a minute on two cores.
#include "engine/Arctangent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

namespace {

constexpr std::int64_t kMostUlps = 2;
constexpr std::uint64_t kPatterns = std::uint64_t{1} << 32;

float fromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Floats in order on one integer line, -0 and +0 both at 0, so that a distance is in ulps.
std::int64_t ulpLine(float value) {
    std::int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits < 0 ? -static_cast<std::int64_t>(bits & 0x7fffffff) : bits;
}

struct Worst {
    std::int64_t ulps = 0;
    std::uint32_t bits = 0;
    std::uint64_t nanMismatches = 0;
};

// Patterns first, first + stride, ... below kPatterns, four at a time.
Worst check(std::uint64_t first, std::uint64_t stride) {
    Worst worst;
    alignas(16) float x[engine::Lanes::kCount];
    alignas(16) float y[engine::Lanes::kCount];
    for (std::uint64_t base = first; base < kPatterns; base += stride * engine::Lanes::kCount) {
        for (int k = 0; k < engine::Lanes::kCount; ++k) {
            x[k] = fromBits(static_cast<std::uint32_t>(base + stride * static_cast<unsigned>(k)));
        }
        engine::arctangent(engine::Lanes::load(x)).store(y);
        for (int k = 0; k < engine::Lanes::kCount; ++k) {
            const float expected = static_cast<float>(std::atan(static_cast<double>(x[k])));
            if (std::isnan(expected) || std::isnan(y[k])) {
                worst.nanMismatches += std::isnan(expected) != std::isnan(y[k]);
                continue;
            }
            const std::int64_t ulps = std::llabs(ulpLine(y[k]) - ulpLine(expected));
            if (ulps > worst.ulps) {
                worst.ulps = ulps;
                std::memcpy(&worst.bits, &x[k], sizeof worst.bits);
            }
        }
    }
    return worst;
}

TEST(Arctangent, WithinTwoUlpOfTheLibraryForEveryFloat) {
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    std::vector<Worst> results(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&results, t, threads] { results[t] = check(t, threads); });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    for (const Worst& worst : results) {
        EXPECT_LE(worst.ulps, kMostUlps) << "at " << fromBits(worst.bits);
        EXPECT_EQ(worst.nanMismatches, 0u);
    }
}

TEST(Arctangent, KeepsTheSignOfZeroAndEndsAtHalfPi) {
    alignas(16) float y[engine::Lanes::kCount];
    const float infinity = std::numeric_limits<float>::infinity();
    engine::arctangent(engine::Lanes(0.0f, -0.0f, infinity, -infinity)).store(y);
    EXPECT_FALSE(std::signbit(y[0]));
    EXPECT_TRUE(std::signbit(y[1]));
    EXPECT_EQ(y[0], 0.0f);
    EXPECT_EQ(y[2], static_cast<float>(std::atan(static_cast<double>(infinity))));
    EXPECT_EQ(y[3], -y[2]);
}

} // namespace
