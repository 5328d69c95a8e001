// One program: a name and one value for each of the 111 parameters.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>

class ProgramSlot final {
public:
    // Room for the name, terminating zero included: 23 characters at most, as hosts expect.
    static constexpr int kNameSize = 24;

    // Named "Init", every value 0.
    ProgramSlot();

    // Indices outside 0..110 store nothing and read 0.
    virtual void setParam(int index, float value);
    virtual float getParam(int index) const;
    // Keeps the first 23 characters of text; null leaves the name as it is.
    virtual void setName(const char* text);

    const char* name() const { return programName.data(); }

private:
    std::array<char, kNameSize> programName{};
    // Held inside the slot, so making the effect is the one allocation that can fail.
    std::array<float, ParameterIndex::kNumParameters> values{};
};
