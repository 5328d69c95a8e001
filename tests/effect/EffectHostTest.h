// A test that sees the effect only as a host does: the built module, opened through its entry
// point.
#pragma once

#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

#include <cmath>

class EffectHostTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.loaded()) << host.loadError();
        ASSERT_NE(host.open(), nullptr);
    }

    PluginHarness host;
};

// What the effect stores for a value of a parameter quantised in `steps` steps: whole steps of
// the 32-bit float nearest 1 / steps.
inline float quantised(float value, int steps) {
    const double step = static_cast<float>(1.0 / steps);
    return static_cast<float>(std::trunc(static_cast<double>(value) * steps) * step);
}
