// Every control of the editor: its kind, rectangle, tag, artwork and, for the value displays,
// the value source and the text converter. The tables in EditorLayout.cpp read like the
// layout's own: one table of rows per grid, expanded here into the 198 controls in the order
// the editor creates them.
#pragma once

#include "gui/Color.h"
#include "gui/DrawContext.h"
#include "gui/Geometry.h"
#include "gui/StringConvert.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace EditorLayout {

constexpr std::int32_t kWidth = 752;
constexpr std::int32_t kHeight = 512;

// Bitmap resources.
constexpr std::int32_t kBackgroundBitmap = 128;
constexpr std::int32_t kFirstArtworkBitmap = 129; // 129 .. 147 load with the interface
constexpr std::int32_t kArtworkBitmapCount = 19;
constexpr std::int32_t kStripDark = 129;        // unipolar knob on a dark panel
constexpr std::int32_t kStripDarkBipolar = 130; // red at minimum, green at maximum
constexpr std::int32_t kStripLight = 131;       // the same two on a light panel
constexpr std::int32_t kStripLightBipolar = 132;
constexpr std::int32_t kDisplayField = 133;
constexpr std::int32_t kStepLightBitmap = 134; // off above, lit below
constexpr std::int32_t kFirstWaveIcon = 135;   // pairs (off, on), Sine first
constexpr std::int32_t kPanicBitmap = 145;     // up above, pressed below
constexpr std::int32_t kAboutScreen = 147;

// Knob strips: 63 frames of 28 x 28.
constexpr std::int32_t kKnobSize = 28;
constexpr std::int32_t kKnobFrames = 63;
constexpr std::int32_t kDisplayWidth = 48;
constexpr std::int32_t kDisplayHeight = 12;
// Every value display: no shadow, no bevel; the back and frame colours are set though the
// field bitmap hides them.
constexpr std::int32_t kDisplayStyle = 1;
constexpr std::int32_t kDisplayFont = FontSmall;
constexpr Color kDisplayFontColor{226, 208, 216, 0};
constexpr Color kDisplayBackColor{3, 3, 3, 0};
constexpr Color kDisplayFrameColor{89, 88, 117, 0};
constexpr std::int32_t kButtonWidth = 60;
constexpr std::int32_t kButtonHeight = 40;
constexpr std::int32_t kWaveCount = 5;
constexpr std::int32_t kWavePitch = 25;
constexpr std::int32_t kStepLightSize = 7;
constexpr std::int32_t kStepLightFrames = 2;

// Tags outside the parameter range.
constexpr std::int32_t kPanicTag = 998;
constexpr std::int32_t kAboutTag = 999;
constexpr std::int32_t kStepLightTag = 1000;

// Where no value source is given.
constexpr std::int32_t kNoSource = -1;

enum class ControlKind { AboutButton, PanicButton, WaveSelector, Knob, ValueDisplay, StepLight };

struct ControlPlace {
    ControlKind kind;
    Rect rect;
    // The notification tag: the parameter index, 998, 999 or 1000; 0 for a display.
    std::int32_t tag;
    // The parameter the control belongs to: a knob's or selector's own, a display's row,
    // the step for a light; kNoSource for the buttons.
    std::int32_t parameter;
    // The strip, field, light or button bitmap; the first off icon for a selector.
    std::int32_t bitmap;
    // What a display or a main control shows: a parameter index or a display query.
    std::int32_t valueSource;
    StringConvert convert; // displays only; null writes "%2.2f"
};

constexpr std::size_t kControlCount = 198;

// The controls in creation order: buttons, wave selectors, global row, delay lines, LFO
// panels, sequencer, step lights; within a row the knob before its display.
const std::array<ControlPlace, kControlCount>& controls();

} // namespace EditorLayout
