// Knob geometry and the polling mouse loop driven by a scripted pointer and clock.
#include "SoftwareCanvas.h"
#include "TestEditor.h"

#include "gui/Bitmap.h"
#include "gui/Knob.h"
#include "gui/StripKnob.h"

#include <cmath>
#include <vector>

namespace {

constexpr std::int32_t stripId = 3100;
constexpr std::int32_t frames = 63;
constexpr std::int32_t frameHeight = 28;

// A 1-pixel-wide strip whose frame n is filled with the colour value n.
void installNumberedStrip() {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t frame = 0; frame < frames; ++frame) {
        pixels.insert(pixels.end(), frameHeight, static_cast<std::uint32_t>(frame));
    }
    software::installBitmapPixels(stripId, 1, frames * frameHeight, pixels);
}

class KnobTest : public SoftwareTest {};

TEST_F(KnobTest, ThePointersDirectionFromTheCentreGivesTheValue) {
    struct Case {
        const char* where;
        Point point;
        float minimum, maximum, expected;
    };
    // A 28 x 28 strip knob at (100, 50) turns about (114, 64).
    const Case cases[] = {
        {"above", Point(114, 50), 0, 1, 0.5f},
        {"right", Point(128, 64), 0, 1, 0.8333333f},
        {"left", Point(100, 64), 0, 1, 0.1666666f},
        {"below, slightly left", Point(113, 78), 0, 1, 0.0f},
        {"below, slightly right", Point(115, 78), 0, 1, 1.0f},
        {"on the centre", Point(114, 64), 0, 1, 0.5f},
        {"lower left, the minimum's end", Point(100, 78), 0, 1, 0.0f},
        {"lower right, the maximum's end", Point(128, 78), 0, 1, 1.0f},
        {"far above, outside the control", Point(114, -500), 0, 1, 0.5f},
        {"above, another range", Point(114, 50), 2, 4, 3.0f},
        {"right, another range", Point(128, 64), 2, 4, 3.6666667f},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.where);
        StripKnob knob(Rect(100, 50, 128, 78), nullptr, 0, frames, frameHeight, nullptr);
        knob.setMin(entry.minimum);
        knob.setMax(entry.maximum);
        EXPECT_NEAR(knob.pointToValue(entry.point), entry.expected, 1e-6);
    }
}

TEST_F(KnobTest, TheValueSitsOnThreeQuartersOfACircleClockwiseFromTheLowerLeft) {
    struct Case {
        float value;
        Point expected; // relative to the control
    };
    // Radius 14 about (14, 14); sin and cos of the travel's ends are +-0.7071.
    const Case cases[] = {
        {0.0f, Point(4, 23)},
        {0.5f, Point(13, 0)}, // sin of a float just under two pi is a hair below 0
        {1.0f, Point(23, 23)},
        {0.25f, Point(1, 8)}, // a third of the way: 292.5 degrees
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.value);
        StripKnob knob(Rect(0, 0, 28, 28), nullptr, 0, frames, frameHeight, nullptr);
        knob.setValue(entry.value);
        Point point;
        knob.valueToPoint(point);
        EXPECT_EQ(point.h, entry.expected.h);
        EXPECT_EQ(point.v, entry.expected.v);
    }
}

TEST_F(KnobTest, AnEmptyRangeOrANonFiniteValuePutsTheHandleAtTheMinimum) {
    StripKnob reference(Rect(0, 0, 28, 28), nullptr, 0, frames, frameHeight, nullptr);
    Point minimum;
    reference.valueToPoint(minimum);
    struct Case {
        const char* name;
        float low, high, value;
    };
    const Case cases[] = {
        {"empty range", 0.5f, 0.5f, 0.5f},
        {"NaN", 0, 1, std::nanf("")},
        {"infinity", 0, 1, INFINITY},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        StripKnob knob(Rect(0, 0, 28, 28), nullptr, 0, frames, frameHeight, nullptr);
        knob.setMin(entry.low);
        knob.setMax(entry.high);
        knob.setValue(entry.value);
        Point point;
        knob.valueToPoint(point);
        EXPECT_EQ(point, minimum);
    }
}

TEST_F(KnobTest, TheInsetIsHalfTheHandleOrFivePixels) {
    software::installBitmapPixels(stripId, 9, 9, std::vector<std::uint32_t>(81, 0));
    Bitmap* handle = new Bitmap(stripId);
    Knob withHandle(Rect(0, 0, 40, 40), nullptr, 0, nullptr, handle);
    Knob withoutHandle(Rect(0, 0, 40, 40), nullptr, 0, nullptr, nullptr);
    handle->forget();
    EXPECT_EQ(withHandle.getInset(), 4);
    EXPECT_EQ(withoutHandle.getInset(), 5);
    Canvas canvas(40, 40);
    withoutHandle.draw(canvas.get()); // no handle: nothing drawn, no failure
    EXPECT_EQ(withoutHandle.getOldValue(), withoutHandle.getValue());
}

TEST_F(KnobTest, AKnobDrawsItsHandleTransparentlyAtTheValuesPoint) {
    // A 3 x 3 handle: a red centre on the key colour.
    const std::uint32_t white = 0xFFFFFF;
    software::installBitmapPixels(
        stripId, 3, 3, {white, white, white, white, 0x0000FF, white, white, white, white});
    Bitmap* handle = new Bitmap(stripId);
    Knob knob(Rect(10, 10, 41, 41), nullptr, 0, nullptr, handle);
    handle->forget();
    knob.setValue(0.5f);
    Canvas canvas(50, 50, ColorGreen);
    knob.draw(canvas.get());
    Point point;
    knob.valueToPoint(point);
    const software::Image pixels = canvas.pixels();
    EXPECT_EQ(extentOf(pixels, 0x0000FF), Rect(10 - 1 + point.h + 1, 10 - 1 + point.v + 1,
                                               10 - 1 + point.h + 2, 10 - 1 + point.v + 2));
    EXPECT_EQ(extentOf(pixels, white), Rect());
}

TEST_F(KnobTest, AStripKnobShowsTheFrameForTheValueAndOnlyExactlyOneShowsTheLast) {
    installNumberedStrip();
    Bitmap* strip = new Bitmap(stripId);
    struct Case {
        float value;
        std::uint32_t frame;
    };
    const Case cases[] = {{0.0f, 0},  {0.0001f, 0}, {0.5f, 31},  {0.999f, 61}, {1.0f, 62},
                          {-0.5f, 0}, {1.5f, 62},   {0.016f, 0}, {0.0162f, 1}};
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.value);
        StripKnob knob(Rect(0, 0, 1, frameHeight), nullptr, 0, frames, frameHeight, strip);
        knob.setValue(entry.value);
        Canvas canvas(1, frameHeight, ColorWhite);
        knob.draw(canvas.get());
        EXPECT_EQ(canvas.at(0, 0), entry.frame);
        EXPECT_EQ(canvas.at(0, frameHeight - 1), entry.frame);
        EXPECT_EQ(knob.getOldValue(), knob.getValue());
    }
    strip->forget();
}

// A knob in a frame of an open editor; the pointer and the clock follow a script.
class KnobDragTest : public SoftwareTest {
protected:
    void SetUp() override {
        SoftwareTest::SetUp();
        installNumberedStrip();
        software::setTickCount(1000);
        editor = new CountingEditor;
        host = software::createHostWindow(60, 60);
        frame = editor->openFrame(host, Rect(0, 0, 60, 60));
        Bitmap* strip = new Bitmap(stripId);
        knob = new StripKnob(Rect(0, 0, 28, 28), &listener, 7, frames, frameHeight, strip);
        strip->forget();
        frame->addView(knob);
        software::paint(frame->getSystemWindow());
        editor->idles = 0;
    }
    void TearDown() override {
        delete editor;
        SoftwareTest::TearDown();
    }
    // Presses the left button at where with the given state.
    void press(Point where, std::int32_t state) {
        software::setKeyState(state);
        software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::LeftButtonDown,
                              where);
    }
    std::uint32_t shownFrame() const {
        return software::windowPixels(frame->getSystemWindow()).at(0, 0);
    }

    RecordingListener listener{false}; // redraws come from the throttled idle only
    CountingEditor* editor = nullptr;
    platform::Window* host = nullptr;
    Frame* frame = nullptr;
    StripKnob* knob = nullptr;
};

const Point above(14, 0);
const Point right(28, 14);
const Point left(0, 14);

TEST_F(KnobDragTest, DraggingReportsValuesThatDifferFromTheLastDrawnAndRedrawsEvery50Ms) {
    software::scriptPointer({
        {above, MouseLeft, 20}, // t 1020
        {right, MouseLeft, 20}, // t 1040
        {right, MouseLeft, 20}, // t 1060: the first idle, which draws 5/6
        {left, MouseLeft, 20},  // t 1080
        {left, 0, 20},          // t 1100: released
    });
    press(above, MouseLeft);
    // 0.5 twice (not drawn in between), 5/6 once (drawn at 1060), then 1/6.
    ASSERT_EQ(listener.values.size(), 4u);
    EXPECT_FLOAT_EQ(listener.values[0], 0.5f);
    EXPECT_FLOAT_EQ(listener.values[1], 0.5f);
    EXPECT_NEAR(listener.values[2], 0.8333333f, 1e-6);
    EXPECT_NEAR(listener.values[3], 0.1666666f, 1e-6);
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(shownFrame(), 51u); // trunc(62 x 28 x 5/6) / 28
    EXPECT_EQ(software::remainingPointerSteps(), 0u);

    // The last value is drawn at the next idle.
    editor->idle();
    EXPECT_EQ(shownFrame(), 10u);
}

TEST_F(KnobDragTest, TrackingGoesOnWhileAModifierIsHeldAfterTheButtonIsReleased) {
    struct Case {
        const char* name;
        std::vector<software::PointerStep> script;
        std::size_t cursorReads;
    };
    const Case cases[] = {
        {"released at once", {{above, 0, 5}}, 1},
        {"Shift held after the release", {{above, KeyShift, 5}, {right, 0, 5}}, 2},
        {"Control, then Alt, then nothing",
         {{above, KeyControl, 5}, {above, KeyAlt, 5}, {left, 0, 5}},
         3},
        {"middle button alone", {{above, MouseMiddle, 5}, {above, 0, 5}}, 2},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        const std::size_t readsBefore = software::cursorReads();
        software::scriptPointer(entry.script);
        press(above, MouseLeft);
        EXPECT_EQ(software::cursorReads() - readsBefore, entry.cursorReads);
    }
}

TEST_F(KnobDragTest, AltClickSetsTheDefaultAndAltWithShiftDrags) {
    knob->setValue(0.2f);
    knob->setDefaultValue(0.75f);
    software::scriptPointer({{right, 0, 5}});
    press(above, MouseLeft | KeyAlt);
    EXPECT_EQ(knob->getValue(), 0.75f);
    ASSERT_EQ(listener.values.size(), 1u);
    EXPECT_EQ(software::remainingPointerSteps(), 1u); // no tracking at all

    listener.values.clear();
    software::scriptPointer({{right, 0, 5}});
    press(above, MouseLeft | KeyAlt | KeyShift);
    EXPECT_EQ(software::remainingPointerSteps(), 0u);
    EXPECT_FLOAT_EQ(listener.values.front(), 0.5f);
}

TEST_F(KnobDragTest, AltClickOnTheDefaultAlreadyDrawnReportsNothing) {
    knob->setValue(0.5f);
    editor->idle(); // draws 0.5
    press(above, MouseLeft | KeyAlt);
    EXPECT_TRUE(listener.values.empty());
}

TEST_F(KnobDragTest, ADisabledKnobIgnoresPresses) {
    knob->setMouseEnabled(false);
    software::scriptPointer({{right, 0, 5}});
    press(above, MouseLeft);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(software::remainingPointerSteps(), 1u);
}

TEST_F(KnobDragTest, AKnobWithoutAListenerStillFollowsThePointer) {
    auto* silent = new StripKnob(Rect(30, 30, 58, 58), nullptr, 0, frames, frameHeight, nullptr);
    frame->addView(silent);
    software::scriptPointer({{Point(58, 44), MouseLeft, 5}, {Point(58, 44), 0, 5}});
    press(Point(44, 30), MouseLeft);
    EXPECT_NEAR(silent->getValue(), 0.8333333f, 1e-6);
}

} // namespace
