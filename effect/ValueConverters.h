// Value-to-text converters of the editor's value displays: each is a StringConvert, taking the
// value a display holds and filling the display's text buffer of StringConvertSize bytes, never
// more; they read nothing but the value. Called from the host's GUI thread.
#pragma once

#include "gui/StringConvert.h"

// Dry/wet share: "  dry  ", "  wet  ", else "0.75/0.25" (dry, then wet).
void formatDryWet(float value, char* text);
// Line balance: "  left  ", "  right  ", else "0.75/0.25" (left, then right).
void formatBalance(float value, char* text);
// Where the filters sit: before the delays below 0.5, inside the loop from 0.5.
void formatRouting(float value, char* text);
// Limiter and saturation mode, with its look-ahead or look-behind in milliseconds.
void formatLimiterMode(float value, char* text);
// A linear level in decibels; "-oo" for silence.
void formatLevelDb(float value, char* text);
// The own tempo in beats per minute; 0 means the host's tempo is followed.
void formatTempo(float value, char* text);
// A delay already in whole milliseconds.
void formatDelayMs(float value, char* text);
// A feedback matrix gain, -0.90 .. 0.90.
void formatFeedbackAmount(float value, char* text);
void formatFilterType(float value, char* text);
// Destinations of the first LFO and the step sequencer (eight states).
void formatModDestination(float value, char* text);
// Destinations of the second LFO (six states).
void formatLfo2Destination(float value, char* text);
// Note division of an LFO period or step length; a value outside 0..1 leaves the text as it was.
void formatDivision(float value, char* text);
// Number of active sequencer steps, 2..16, right-aligned in seven places.
void formatStepCount(float value, char* text);
