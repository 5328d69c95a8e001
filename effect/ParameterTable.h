// The 111 automatable parameters as the host sees them: key names, the unit label and the
// texts of the enumerated values (their states are engine::SafeConversion::enumerationState,
// their neutral values engine::kNeutralSetting). Pure data and pure functions; safe on any
// thread.
#pragma once

#include "engine/ParameterIndex.h"

// How a stored value reads as text for the host.
enum class ParameterKind {
    Plain,          // the normalised value as a number
    Routing,        // below 0.5 the filters sit before the delays, else inside the loop
    FilterType,     // 5 states, "Off" first
    LfoWave,        // 5 states, "Sine" first
    ModDestination, // 8 states, "Off" first (first LFO and step sequencer)
    Lfo2Destination // 6 states, "Off" first (second LFO)
};

struct ParameterInfo {
    const char* name; // the key with two spaces either side, at most 18 characters
    ParameterKind kind;
};

// Every parameter carries the same label.
constexpr const char* kParameterLabel = "  value  ";

constexpr bool isParameterIndex(int index) {
    return index >= 0 && index < ParameterIndex::kNumParameters;
}

// The entry of a parameter index; the index must satisfy isParameterIndex.
const ParameterInfo& parameterInfo(int index);

// The text of an enumerated or routing value; null for a plain parameter.
const char* enumerationText(ParameterKind kind, float value);
