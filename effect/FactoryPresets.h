// The ten built-in programs: eight factory presets and two neutral "init" programs.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>

constexpr int kNumPrograms = 10;

using ParameterValues = std::array<float, ParameterIndex::kNumParameters>;

// Name of the built-in program in slot 0..kNumPrograms - 1.
const char* factoryPresetName(int slot);
// All 111 values of the built-in program in slot 0..kNumPrograms - 1, each within 0..1.
ParameterValues factoryPresetValues(int slot);
