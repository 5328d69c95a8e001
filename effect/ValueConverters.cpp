#include "effect/ValueConverters.h"

#include "effect/ParameterTable.h"
#include "engine/ParameterMapping.h"
#include "engine/ParameterStates.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Numeric texts of in-range values are short; the size bound only matters for wild values.
template <typename... Arguments>
void formatText(char* text, const char* format, Arguments... arguments) {
    std::snprintf(text, StringConvertSize, format, arguments...);
}

void copyText(char* text, const char* source) {
    std::strncpy(text, source, StringConvertSize - 1);
    text[StringConvertSize - 1] = '\0';
}

// Two shares that add up to one: 1 - x, then x.
void formatShares(float value, char* text, const char* allFirst, const char* allSecond) {
    if (value == 0.0f) {
        copyText(text, allFirst);
    } else if (value == 1.0f) {
        copyText(text, allSecond);
    } else {
        formatText(text, "%.2f/%.2f", static_cast<double>(1.0f - value),
                   static_cast<double>(value));
    }
}

} // namespace

void formatDryWet(float value, char* text) {
    formatShares(value, text, "  dry  ", "  wet  ");
}

void formatBalance(float value, char* text) {
    formatShares(value, text, "  left  ", "  right  ");
}

void formatRouting(float value, char* text) {
    copyText(text, value >= 0.5f ? "  Delay > Filt  " : "  Filt > Delay  ");
}

void formatLimiterMode(float value, char* text) {
    const double x = value;
    if (value == 0.0f) {
        copyText(text, "  hardSat  ");
    } else if (value < 0.5f) {
        formatText(text, "L-%.1fms", (0.5 - x) * 200);
    } else if (value == 0.5f) {
        copyText(text, "  hardLimit  ");
    } else if (value == 1.0f) {
        copyText(text, "  softSat  ");
    } else {
        formatText(text, "C %.1fms", (x - 0.5) * 200);
    }
}

void formatLevelDb(float value, char* text) {
    if (!(value > 0.0f)) { // NaN reads as silence too
        copyText(text, "  -oo   ");
    } else {
        formatText(text, "  %.1fdB  ", 20 * std::log10(static_cast<double>(value)));
    }
}

void formatTempo(float value, char* text) {
    if (value == 0.0f) {
        copyText(text, "  sync  ");
    } else {
        formatText(text, "%.1f", static_cast<double>(value));
    }
}

void formatDelayMs(float value, char* text) {
    formatText(text, "%.0fms", static_cast<double>(value));
}

void formatFeedbackAmount(float value, char* text) {
    formatText(text, "%.2f",
               (static_cast<double>(value) - 0.5) * engine::ParameterMapping::kFeedbackGainScale);
}

void formatFilterType(float value, char* text) {
    copyText(text, enumerationText(ParameterKind::FilterType, value));
}

void formatModDestination(float value, char* text) {
    copyText(text, enumerationText(ParameterKind::ModDestination, value));
}

void formatLfo2Destination(float value, char* text) {
    copyText(text, enumerationText(ParameterKind::Lfo2Destination, value));
}

void formatDivision(float value, char* text) {
    static constexpr const char* divisions[engine::ParameterStates::kDivisions] = {
        "  1/16  ", "  1/8  ", "  1/4  ", "  1/1  ", "  4/1  "};
    const int state = engine::ParameterStates::divisionState(value);
    if (state >= 0) {
        copyText(text, divisions[state]);
    }
}

void formatStepCount(float value, char* text) {
    formatText(text, "%7d", static_cast<int>(engine::ParameterStates::stepCount(value)));
}
