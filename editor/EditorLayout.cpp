#include "editor/EditorLayout.h"

#include "effect/ValueConverters.h"
#include "engine/ParameterIndex.h"

#include <cstddef>

namespace EditorLayout {
namespace {

using namespace ParameterIndex;

struct At {
    std::int32_t x;
    std::int32_t y;
};

// Value sources of a row's display.
enum class Source { None, Own, Query };
struct Shows {
    Source source;
    std::int32_t query;
};
constexpr Shows none{Source::None, 0};
constexpr Shows own{Source::Own, 0};
constexpr Shows query(std::int32_t index) {
    return Shows{Source::Query, index};
}

// One row of a grid: a knob and, unless the row shows none, its display. A row that repeats
// places knobs for the next parameters every 32 pixels to the right (the amounts, the steps).
struct Row {
    std::int32_t parameter; // index, or offset within the grid's block of parameters
    At knob;
    std::int32_t strip;
    Shows shows;
    At display;
    StringConvert convert;
    std::int32_t repeat = 1;
};
constexpr std::int32_t kRepeatPitch = 32;

// Table 3: the global row.
constexpr Row globalRow[] = {
    {fDryWetMix, {8, 6}, kStripDark, own, {40, 19}, formatDryWet},
    {fRouting, {108, 6}, kStripDarkBipolar, own, {140, 19}, formatRouting},
    {fSyncBPM, {208, 6}, kStripDark, query(kQueryTempo), {240, 19}, formatTempo},
    {fFeedbackLimit, {308, 6}, kStripDarkBipolar, query(kQueryLimit), {340, 19}, formatLevelDb},
    {fCompSense, {408, 6}, kStripDarkBipolar, own, {440, 19}, formatLimiterMode},
};

// Table 4: the twelve rows of delay line i, placed for line 0; line i adds 100 i to x.
struct LineRows {
    Row rows[12];
};
constexpr LineRows delayLineRows(std::int32_t i) {
    return {{
        {InLR, {93, 49}, kStripLightBipolar, own, {126, 58}, formatBalance},
        {Damp, {148, 77}, kStripLight, own, {96, 86}, nullptr},
        {Filt, {93, 111}, kStripDark, own, {126, 120}, formatFilterType},
        {Freq, {148, 139}, kStripDark, own, {96, 148}, nullptr},
        {Res, {93, 167}, kStripDark, own, {126, 176}, nullptr},
        {Delay, {148, 201}, kStripLight, query(kQueryDelayMs0 + i), {96, 210}, formatDelayMs},
        {Feedback0, {93, 229}, kStripLightBipolar, own, {126, 238}, formatFeedbackAmount},
        {Feedback0 + 1, {148, 257}, kStripLightBipolar, own, {96, 266}, formatFeedbackAmount},
        {Feedback0 + 2, {93, 285}, kStripLightBipolar, own, {126, 294}, formatFeedbackAmount},
        {Feedback0 + 3, {148, 313}, kStripLightBipolar, own, {96, 322}, formatFeedbackAmount},
        {OutV, {93, 347}, kStripDark, own, {126, 356}, nullptr},
        {OutLR, {148, 375}, kStripDarkBipolar, own, {96, 384}, formatBalance},
    }};
}
constexpr std::int32_t kLinePitch = 100;

// Table 5: the rows of LFO k, placed for LFO 1 (k = 0); LFO k adds 162 k to y.
struct LfoRows {
    Row rows[7];
};
constexpr LfoRows lfoPanelRows(StringConvert destination) {
    return {{
        {LfoRate, {514, 105}, kStripDark, own, {546, 118}, formatDivision},
        {LfoPhse, {556, 141}, kStripDark, own, {588, 154}, nullptr},
        {LfoDist, {650, 141}, kStripDark, own, {682, 154}, nullptr},
        {LfoDest0, {514, 177}, kStripDark, own, {546, 190}, destination},
        {LfoAmt00, {603, 177}, kStripDarkBipolar, none, {}, nullptr, 4},
        {LfoDest1, {520, 213}, kStripDark, own, {552, 226}, destination},
        {LfoAmt10, {609, 213}, kStripDarkBipolar, none, {}, nullptr, 4},
    }};
}
constexpr StringConvert lfoDestinations[kNumLfos] = {formatModDestination, formatLfo2Destination};
constexpr std::int32_t kLfoPitch = 162;

// Table 6: the sequencer strip.
constexpr Row sequencerRows[] = {
    {fStep0, {227, 431}, kStripDark, none, {}, nullptr, kNumSteps},
    {fStepTime, {22, 431}, kStripDark, own, {54, 444}, formatDivision},
    {fNumSteps, {116, 431}, kStripDark, own, {148, 444}, formatStepCount},
    {fBlend, {116, 470}, kStripDark, own, {148, 483}, nullptr},
    {fStepShift, {22, 470}, kStripDark, query(kQueryStepShift), {54, 483}, nullptr},
    {fStepDest0, {282, 470}, kStripDark, own, {314, 483}, formatModDestination},
    {fStepAmt00, {370, 470}, kStripDarkBipolar, none, {}, nullptr, 4},
    {fStepDest1, {506, 470}, kStripDark, own, {538, 483}, formatModDestination},
    {fStepAmt10, {594, 470}, kStripDarkBipolar, none, {}, nullptr, 4},
};

// Tables 1, 2 and 7.
constexpr At aboutButton{583, 46};
constexpr At panicButton{503, 46};
constexpr At waveSelectors[kNumLfos] = {{615, 113}, {615, 275}};
constexpr std::int32_t kWaveSelectorWidth = 116;
constexpr std::int32_t kWaveIconSize = 16;
constexpr At firstStepLight{237, 424};

Rect sized(At at, std::int32_t width, std::int32_t height) {
    return Rect(at.x, at.y, at.x + width, at.y + height);
}

class Builder {
public:
    void add(ControlKind kind, const Rect& rect, std::int32_t tag, std::int32_t parameter,
             std::int32_t bitmap, std::int32_t valueSource = kNoSource,
             StringConvert convert = nullptr) {
        if (count < kControlCount) {
            places[count] = ControlPlace{kind, rect, tag, parameter, bitmap, valueSource, convert};
        }
        ++count;
    }
    // The row's knobs and display; parameters from first, moved by (dx, dy).
    void addRow(const Row& row, std::int32_t first, std::int32_t dx, std::int32_t dy) {
        const std::int32_t parameter = first + row.parameter;
        for (std::int32_t j = 0; j < row.repeat; ++j) {
            const At knob{row.knob.x + dx + kRepeatPitch * j, row.knob.y + dy};
            add(ControlKind::Knob, sized(knob, kKnobSize, kKnobSize), parameter + j, parameter + j,
                row.strip, parameter + j);
        }
        if (row.shows.source != Source::None) {
            const At display{row.display.x + dx, row.display.y + dy};
            add(ControlKind::ValueDisplay, sized(display, kDisplayWidth, kDisplayHeight), 0,
                parameter, kDisplayField,
                row.shows.source == Source::Own ? parameter : row.shows.query, row.convert);
        }
    }
    const std::array<ControlPlace, kControlCount>& result() const { return places; }
    std::size_t size() const { return count; }

private:
    std::array<ControlPlace, kControlCount> places{};
    std::size_t count = 0;
};

std::array<ControlPlace, kControlCount> build() {
    Builder layout;
    layout.add(ControlKind::AboutButton, sized(aboutButton, kButtonWidth, kButtonHeight), kAboutTag,
               kNoSource, kAboutScreen);
    layout.add(ControlKind::PanicButton, sized(panicButton, kButtonWidth, kButtonHeight), kPanicTag,
               kNoSource, kPanicBitmap);
    for (std::int32_t k = 0; k < kNumLfos; ++k) {
        const std::int32_t wave = lfo(k, LfoWave);
        layout.add(ControlKind::WaveSelector,
                   sized(waveSelectors[k], kWaveSelectorWidth, kWaveIconSize), wave, wave,
                   kFirstWaveIcon, wave);
    }
    for (const Row& row : globalRow) {
        layout.addRow(row, 0, 0, 0);
    }
    for (std::int32_t i = 0; i < kNumLines; ++i) {
        for (const Row& row : delayLineRows(i).rows) {
            layout.addRow(row, line(i, 0), kLinePitch * i, 0);
        }
    }
    for (std::int32_t k = 0; k < kNumLfos; ++k) {
        for (const Row& row : lfoPanelRows(lfoDestinations[k]).rows) {
            layout.addRow(row, lfo(k, 0), 0, kLfoPitch * k);
        }
    }
    for (const Row& row : sequencerRows) {
        layout.addRow(row, 0, 0, 0);
    }
    for (std::int32_t j = 0; j < kNumSteps; ++j) {
        const At light{firstStepLight.x + kRepeatPitch * j, firstStepLight.y};
        layout.add(ControlKind::StepLight, sized(light, kStepLightSize, kStepLightSize),
                   kStepLightTag, kNoSource, kStepLightBitmap);
    }
    // Caught by the layout's tests as a count other than 198.
    return layout.size() == kControlCount ? layout.result()
                                          : std::array<ControlPlace, kControlCount>{};
}

} // namespace

const std::array<ControlPlace, kControlCount>& controls() {
    static const std::array<ControlPlace, kControlCount> places = build();
    return places;
}

} // namespace EditorLayout
