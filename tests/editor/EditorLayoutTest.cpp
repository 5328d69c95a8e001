// The controls the editor creates, checked against the layout tables transcribed here on their
// own terms: knob positions from the tables, display positions from the stated column rules,
// and the counts, edges and edge cases the layout names.
#include "EditorFixture.h"

#include "editor/IconSelector.h"
#include "effect/ValueConverters.h"
#include "gui/MomentaryButton.h"
#include "gui/SplashOverlay.h"
#include "gui/StripDisplay.h"
#include "gui/StripKnob.h"
#include "gui/ValueDisplay.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

enum Kind { About, Panic, Waves, Knob, Display, Light };

struct Expected {
    Kind kind;
    Rect rect;
    std::int32_t tag;
};

Rect at(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    return Rect(x, y, x + width, y + height);
}

// A knob and, for a display source other than none, its display beside it: to the right at
// (x + dx, y + dy).
struct Layout {
    std::vector<Expected> controls;
    void knob(std::int32_t parameter, std::int32_t x, std::int32_t y) {
        controls.push_back({Knob, at(x, y, 28, 28), parameter});
    }
    void knobAndDisplay(std::int32_t parameter, std::int32_t x, std::int32_t y, std::int32_t dx,
                        std::int32_t dy) {
        knob(parameter, x, y);
        controls.push_back({Display, at(x + dx, y + dy, 48, 12), 0});
    }
};

std::vector<Expected> transcribedLayout() {
    Layout layout;
    layout.controls.push_back({About, at(583, 46, 60, 40), 999});
    layout.controls.push_back({Panic, at(503, 46, 60, 40), 998});
    layout.controls.push_back({Waves, at(615, 113, 116, 16), 53});
    layout.controls.push_back({Waves, at(615, 275, 116, 16), 67});
    const std::int32_t global[][2] = {{0, 8}, {4, 108}, {3, 208}, {1, 308}, {2, 408}};
    for (const auto& [parameter, x] : global) {
        layout.knobAndDisplay(parameter, x, 6, 32, 13);
    }
    // Line rows: offset within the line and the knob's y; the column follows from the row.
    const std::int32_t lineRows[][2] = {{0, 49},  {5, 77},  {2, 111},  {3, 139},
                                        {4, 167}, {1, 201}, {6, 229},  {7, 257},
                                        {8, 285}, {9, 313}, {10, 347}, {11, 375}};
    for (std::int32_t i = 0; i < 4; ++i) {
        bool left = true;
        for (const auto& [offset, y] : lineRows) {
            const std::int32_t x = (left ? 93 : 148) + 100 * i;
            layout.knobAndDisplay(5 + 12 * i + offset, x, y, left ? 33 : -52, 9);
            left = !left;
        }
    }
    for (std::int32_t k = 0; k < 2; ++k) {
        const std::int32_t first = 53 + 14 * k;
        const std::int32_t dy = 162 * k;
        layout.knobAndDisplay(first + 1, 514, 105 + dy, 32, 13);
        layout.knobAndDisplay(first + 2, 556, 141 + dy, 32, 13);
        layout.knobAndDisplay(first + 3, 650, 141 + dy, 32, 13);
        layout.knobAndDisplay(first + 4, 514, 177 + dy, 32, 13);
        for (std::int32_t j = 0; j < 4; ++j) {
            layout.knob(first + 5 + j, 603 + 32 * j, 177 + dy);
        }
        layout.knobAndDisplay(first + 9, 520, 213 + dy, 32, 13);
        for (std::int32_t j = 0; j < 4; ++j) {
            layout.knob(first + 10 + j, 609 + 32 * j, 213 + dy);
        }
    }
    for (std::int32_t j = 0; j < 16; ++j) {
        layout.knob(81 + j, 227 + 32 * j, 431);
    }
    layout.knobAndDisplay(97, 22, 431, 32, 13);
    layout.knobAndDisplay(98, 116, 431, 32, 13);
    layout.knobAndDisplay(99, 116, 470, 32, 13);
    layout.knobAndDisplay(100, 22, 470, 32, 13);
    layout.knobAndDisplay(101, 282, 470, 32, 13);
    for (std::int32_t j = 0; j < 4; ++j) {
        layout.knob(102 + j, 370 + 32 * j, 470);
    }
    layout.knobAndDisplay(106, 506, 470, 32, 13);
    for (std::int32_t j = 0; j < 4; ++j) {
        layout.knob(107 + j, 594 + 32 * j, 470);
    }
    for (std::int32_t j = 0; j < 16; ++j) {
        layout.controls.push_back({Light, at(237 + 32 * j, 424, 7, 7), 1000});
    }
    return layout.controls;
}

Kind kindOf(View* view) {
    if (dynamic_cast<SplashOverlay*>(view) != nullptr) {
        return About;
    }
    if (dynamic_cast<MomentaryButton*>(view) != nullptr) {
        return Panic;
    }
    if (dynamic_cast<IconSelector*>(view) != nullptr) {
        return Waves;
    }
    if (dynamic_cast<StripKnob*>(view) != nullptr) {
        return Knob;
    }
    if (dynamic_cast<ValueDisplay*>(view) != nullptr) {
        return Display;
    }
    EXPECT_NE(dynamic_cast<StripDisplay*>(view), nullptr);
    return Light;
}

class EditorLayoutTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        openEditor();
    }
};

TEST_F(EditorLayoutTest, OpenCreatesTheTablesControlsInTheirOrderWithTheirTags) {
    const std::vector<Expected> expected = transcribedLayout();
    ASSERT_EQ(expected.size(), 198u);
    ASSERT_EQ(frame()->getViewCount(), 198);
    for (std::size_t index = 0; index < expected.size(); ++index) {
        SCOPED_TRACE(testing::Message() << "control " << index);
        View* view = frame()->getView(static_cast<std::int32_t>(index));
        EXPECT_EQ(kindOf(view), expected[index].kind);
        EXPECT_TRUE(view->getSize() == expected[index].rect)
            << view->getSize().left << ", " << view->getSize().top;
        EXPECT_EQ(static_cast<Control*>(view)->getTag(), expected[index].tag);
    }
}

TEST_F(EditorLayoutTest, EveryParameterHasExactlyOneMainControlAndTheKindsAddUp) {
    std::map<Kind, int> kinds;
    std::map<std::int32_t, int> mainControls;
    for (std::int32_t index = 0; index < frame()->getViewCount(); ++index) {
        View* view = frame()->getView(index);
        const Kind kind = kindOf(view);
        ++kinds[kind];
        if (kind == Knob || kind == Waves) {
            ++mainControls[static_cast<Control*>(view)->getTag()];
        }
    }
    EXPECT_EQ(kinds,
              (std::map<Kind, int>{
                  {About, 1}, {Panic, 1}, {Waves, 2}, {Knob, 109}, {Display, 69}, {Light, 16}}));
    ASSERT_EQ(mainControls.size(), 111u);
    EXPECT_EQ(mainControls.begin()->first, 0);
    EXPECT_EQ(mainControls.rbegin()->first, 110);
    for (const auto& [parameter, count] : mainControls) {
        EXPECT_EQ(count, 1) << parameter;
    }
}

TEST_F(EditorLayoutTest, TheNamedPlacesAndTheOuterEdgesAreWhereTheTablesSay) {
    struct Place {
        std::int32_t parameter;
        Point knob;
        Point display; // (-1, -1): none
    };
    const Place places[] = {
        {76, {520, 375}, {552, 388}}, {77, {609, 375}, {-1, -1}}, {78, {641, 375}, {-1, -1}},
        {79, {673, 375}, {-1, -1}},   {80, {705, 375}, {-1, -1}}, {29, {293, 49}, {326, 58}},
        {42, {448, 201}, {396, 210}},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.parameter);
        Control* knob = mainControl(place.parameter);
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->getSize().left, place.knob.h);
        EXPECT_EQ(knob->getSize().top, place.knob.v);
        ValueDisplay* display = displayOf(place.parameter);
        if (place.display.h < 0) {
            EXPECT_EQ(display, nullptr);
        } else {
            ASSERT_NE(display, nullptr);
            EXPECT_EQ(display->getSize().left, place.display.h);
            EXPECT_EQ(display->getSize().top, place.display.v);
        }
    }
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    for (std::int32_t index = 0; index < frame()->getViewCount(); ++index) {
        const Rect& size = frame()->getView(index)->getSize();
        EXPECT_GE(size.left, 0);
        EXPECT_GE(size.top, 0);
        right = std::max(right, size.right);
        bottom = std::max(bottom, size.bottom);
    }
    EXPECT_EQ(right, 735);
    EXPECT_EQ(bottom, 498);
    EXPECT_EQ(mainControl(96)->getSize().right, 735);
}

TEST_F(EditorLayoutTest, EveryDisplayHasItsConverterAndShowsItsValueSource) {
    struct Shown {
        std::int32_t parameter;
        StringConvert convert;
        std::int32_t source;
    };
    std::vector<Shown> shown = {
        {0, formatDryWet, 0},
        {4, formatRouting, 4},
        {3, formatTempo, 1006},
        {1, formatLevelDb, 1007},
        {2, formatLimiterMode, 2},
        {97, formatDivision, 97},
        {98, formatStepCount, 98},
        {99, nullptr, 99},
        {100, nullptr, 1001},
        {101, formatModDestination, 101},
        {106, formatModDestination, 106},
    };
    for (std::int32_t i = 0; i < 4; ++i) {
        const std::int32_t first = 5 + 12 * i;
        const std::vector<Shown> line = {
            {first, formatBalance, first},
            {first + 1, formatDelayMs, 1002 + i},
            {first + 2, formatFilterType, first + 2},
            {first + 3, nullptr, first + 3},
            {first + 4, nullptr, first + 4},
            {first + 5, nullptr, first + 5},
            {first + 6, formatFeedbackAmount, first + 6},
            {first + 7, formatFeedbackAmount, first + 7},
            {first + 8, formatFeedbackAmount, first + 8},
            {first + 9, formatFeedbackAmount, first + 9},
            {first + 10, nullptr, first + 10},
            {first + 11, formatBalance, first + 11},
        };
        shown.insert(shown.end(), line.begin(), line.end());
    }
    for (std::int32_t k = 0; k < 2; ++k) {
        const std::int32_t first = 53 + 14 * k;
        const StringConvert destination = k == 0 ? formatModDestination : formatLfo2Destination;
        const std::vector<Shown> panel = {{first + 1, formatDivision, first + 1},
                                          {first + 2, nullptr, first + 2},
                                          {first + 3, nullptr, first + 3},
                                          {first + 4, destination, first + 4},
                                          {first + 9, destination, first + 9}};
        shown.insert(shown.end(), panel.begin(), panel.end());
    }
    ASSERT_EQ(shown.size(), 69u);
    // Values where a parameter and its display query differ.
    setParameter(100, 0.5f);
    setParameter(3, 0.3f);
    setParameter(1, 0.2f);
    for (const Shown& entry : shown) {
        SCOPED_TRACE(entry.parameter);
        ValueDisplay* display = displayOf(entry.parameter);
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(display->getStringConvert(), entry.convert);
        EXPECT_EQ(display->getValue(), getParameter(entry.source));
        EXPECT_EQ(display->getFont(), FontSmall);
        EXPECT_EQ(display->getStyle(), 1);
        EXPECT_EQ(display->getListener(), nullptr);
    }
}

// Each strip bitmap installed as one flat colour, so a knob's pixel tells which strip it drew.
TEST_F(EditorLayoutTest, EveryKnobDrawsFromItsTablesStrip) {
    dispatch(effEditClose);
    for (std::int32_t strip = 129; strip <= 132; ++strip) {
        software::installBitmapPixels(strip, 28, 28 * 63,
                                      std::vector<std::uint32_t>(28 * 28 * 63, strip));
    }
    openEditor();
    std::map<std::int32_t, std::int32_t> strips;
    for (std::int32_t p : {0, 3, 97, 98, 99, 100, 101, 106}) {
        strips[p] = 129;
    }
    for (std::int32_t p : {4, 1, 2}) {
        strips[p] = 130;
    }
    for (std::int32_t i = 0; i < 4; ++i) {
        const std::int32_t first = 5 + 12 * i;
        const std::int32_t byOffset[12] = {132, 131, 129, 129, 129, 131,
                                           132, 132, 132, 132, 129, 130};
        for (std::int32_t offset = 0; offset < 12; ++offset) {
            strips[first + offset] = byOffset[offset];
        }
    }
    for (std::int32_t k = 0; k < 2; ++k) {
        const std::int32_t first = 53 + 14 * k;
        const std::int32_t byOffset[14] = {0,   129, 129, 129, 129, 130, 130,
                                           130, 130, 129, 130, 130, 130, 130};
        for (std::int32_t offset = 1; offset < 14; ++offset) {
            strips[first + offset] = byOffset[offset];
        }
    }
    for (std::int32_t j = 0; j < 16; ++j) {
        strips[81 + j] = 129;
    }
    for (std::int32_t j = 0; j < 4; ++j) {
        strips[102 + j] = 130;
        strips[107 + j] = 130;
    }
    ASSERT_EQ(strips.size(), 109u);
    const software::Image shown = picture();
    for (const auto& [parameter, strip] : strips) {
        const Rect& knob = mainControl(parameter)->getSize();
        EXPECT_EQ(shown.at(knob.left + 14, knob.top + 14), static_cast<std::uint32_t>(strip))
            << parameter;
    }
}

} // namespace
