// The toggle, latch and rocker buttons, the multi-position switches and the frame animation:
// what each draws for its value and what a scripted press through the frame reports.
#include "FrameFixture.h"

#include "gui/FrameAnimation.h"
#include "gui/HorizontalMultiSwitch.h"
#include "gui/LatchButton.h"
#include "gui/RockerButton.h"
#include "gui/ToggleButton.h"
#include "gui/VerticalMultiSwitch.h"

#include <cmath>

namespace {

constexpr std::int32_t stripId = 3500;
using Reports = std::vector<float>;

class SwitchKindsTest : public FrameFixture {};

TEST_F(SwitchKindsTest, AToggleButtonTurnsItsTruncatedValueOverAtThePressAndShowsThatHalf) {
    struct Case {
        float before;
        float after;
    };
    // Frame 1 of the two-frame strip is the lower half.
    for (const Case& entry : {Case{0.0f, 1.0f}, Case{0.5f, 1.0f}, Case{1.0f, 0.0f},
                              Case{2.5f, 0.0f}, Case{-0.9f, 1.0f}, Case{std::nanf(""), 1.0f}}) {
        SCOPED_TRACE(entry.before);
        Bitmap* strip = numberedStrip(stripId, 10, 2, 10);
        auto* toggle = add(new ToggleButton(Rect(10, 10, 20, 20), &listener, 1, strip));
        strip->forget();
        toggle->setValue(entry.before);
        listener.values.clear();
        press(Point(15, 15), MouseLeft, {{Point(60, 60), MouseLeft, 0}, {Point(60, 60), 0, 0}});
        EXPECT_EQ(listener.values, Reports{entry.after});
        EXPECT_EQ(pixel(12, 12), entry.after != 0.0f ? 1u : 0u);
        EXPECT_EQ(software::remainingPointerSteps(), 2u); // no tracking
        frame->removeView(toggle);
        delete toggle;
    }
}

TEST_F(SwitchKindsTest, PressesOnADisabledControlOrOneWithoutListenerChangeNothingElse) {
    auto* toggle = add(new ToggleButton(Rect(0, 0, 10, 10), nullptr, 1, nullptr));
    click(Point(5, 5));
    EXPECT_EQ(toggle->getValue(), 1.0f);
    auto* latch = add(new LatchButton(Rect(20, 0, 30, 10), &listener, 2, 10, nullptr));
    latch->setMouseEnabled(false);
    click(Point(25, 5));
    EXPECT_EQ(latch->getValue(), 0.0f);
    EXPECT_TRUE(listener.values.empty());
}

TEST_F(SwitchKindsTest, MultiSwitchesShowTheImageForTheValueFromTheStripsTop) {
    Bitmap* strip = numberedStrip(stripId, 10, 3, 10);
    auto* vertical = add(new VerticalMultiSwitch(Rect(0, 0, 10, 10), nullptr, 1, 3, 10, 3, strip,
                                                 Point(5, 5))); // the offset is not used
    strip->forget();
    struct Case {
        float value;
        std::uint32_t image;
    };
    for (const Case& entry : {Case{0.0f, 0}, Case{0.49f, 0}, Case{0.5f, 1}, Case{0.99f, 1},
                              Case{1.0f, 2}, Case{1.5f, 2}, Case{-1.0f, 0}}) {
        SCOPED_TRACE(entry.value);
        vertical->setValue(entry.value);
        vertical->redraw();
        EXPECT_EQ(pixel(0, 0), entry.image);
    }
}

TEST_F(SwitchKindsTest, MultiSwitchPositionsFollowTheZoneThePointerIsIn) {
    Bitmap* strip = numberedStrip(stripId, 30, 3, 30);
    auto* vertical =
        add(new VerticalMultiSwitch(Rect(0, 0, 30, 30), &listener, 1, 3, 30, 3, strip));
    auto* horizontal =
        add(new HorizontalMultiSwitch(Rect(50, 0, 80, 30), &listener, 2, 3, 30, 3, strip));
    strip->forget();
    struct Case {
        MultiSwitch* control;
        Point pointer;
        float value;
    };
    // Vertical zones end before trunc(i x 10); horizontal ones include their end.
    const Case cases[] = {
        {vertical, Point(5, 0), 0.0f},    {vertical, Point(5, 9), 0.0f},
        {vertical, Point(5, 10), 0.5f},   {vertical, Point(5, 19), 0.5f},
        {vertical, Point(5, 20), 1.0f},   {vertical, Point(5, 80), 1.0f},
        {vertical, Point(5, -5), 0.0f},   {horizontal, Point(50, 5), 0.0f},
        {horizontal, Point(60, 5), 0.0f}, {horizontal, Point(61, 5), 0.5f},
        {horizontal, Point(70, 5), 0.5f}, {horizontal, Point(71, 5), 1.0f},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.pointer.h << ", " << entry.pointer.v);
        entry.control->setValue(0.25f); // none of the positions
        const Point at(entry.control->getSize().left + 1, 1);
        press(at, MouseLeft, {{entry.pointer, MouseLeft, 0}, {entry.pointer, 0, 0}});
        EXPECT_EQ(entry.control->getValue(), entry.value);
    }
}

TEST_F(SwitchKindsTest, AnAltClickPutsAMultiSwitchOnItsDefaultOfZero) {
    auto* vertical =
        add(new VerticalMultiSwitch(Rect(0, 0, 30, 30), &listener, 1, 3, 30, 3, nullptr));
    vertical->setValue(1.0f);
    vertical->redraw();
    press(Point(5, 25), MouseLeft | KeyAlt, {{Point(5, 25), MouseLeft | KeyAlt, 0}});
    EXPECT_EQ(vertical->getValue(), 0.0f);
    EXPECT_EQ(listener.values, Reports{0.0f});
}

TEST_F(SwitchKindsTest, ARockerReportsTheHalfHeldThenZeroAtTheRelease) {
    struct Case {
        const char* name;
        Point at;
        std::int32_t stateAtPress;
        std::vector<software::PointerStep> script;
        Reports reports;
    };
    // 20 pixels wide at x 10: the left half is 10 .. 20, the right half 20 .. 30.
    const Case cases[] = {
        {"the middle column is the left half's",
         Point(20, 5),
         MouseLeft,
         {{Point(20, 5), 0, 0}},
         {-1, 0}},
        {"right of the middle", Point(21, 5), MouseLeft, {{Point(21, 5), 0, 0}}, {1, 0}},
        {"rocked across while held",
         Point(12, 5),
         MouseLeft,
         {{Point(28, 5), MouseLeft, 0}, {Point(28, 5), 0, 0}},
         {-1, 1, 0}},
        {"dragged off: the value at the press",
         Point(12, 5),
         MouseLeft,
         {{Point(80, 5), MouseLeft, 0}, {Point(80, 5), 0, 0}},
         {-1, 0, 0}},
        {"released before the press arrived", Point(25, 5), 0, {}, {1, 0}},
    };
    Bitmap* strip = numberedStrip(stripId, 20, 3, 10);
    auto* rocker = add(new RockerButton(Rect(10, 0, 30, 10), &listener, 1, 10, strip));
    strip->forget();
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        listener.values.clear();
        press(entry.at, entry.stateAtPress, entry.script);
        EXPECT_EQ(listener.values, entry.reports);
        EXPECT_EQ(rocker->getValue(), 0.0f);
    }
    struct Image {
        float value;
        std::uint32_t frame;
    };
    for (const Image& entry : {Image{-1.0f, 0}, Image{0.0f, 1}, Image{1.0f, 2}}) {
        rocker->setValue(entry.value);
        rocker->redraw();
        EXPECT_EQ(pixel(10, 0), entry.frame) << entry.value;
    }
}

TEST_F(SwitchKindsTest, ALatchButtonKeepsTheValueItHadAtTheRelease) {
    Bitmap* strip = numberedStrip(stripId, 10, 2, 10);
    auto* latch = add(new LatchButton(Rect(10, 10, 20, 20), &listener, 1, 10, strip));
    strip->forget();
    struct Case {
        const char* name;
        std::vector<software::PointerStep> script;
        Reports reports;
        float kept;
    };
    const Case cases[] = {
        {"pressed and released inside: on", {{Point(15, 15), 0, 0}}, {1}, 1},
        {"again: off", {{Point(15, 15), 0, 0}}, {0}, 0},
        {"dragged out before the release: as before",
         {{Point(50, 50), MouseLeft, 0}, {Point(50, 50), 0, 0}},
         {1, 0},
         0},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        listener.values.clear();
        press(Point(15, 15), MouseLeft, entry.script);
        EXPECT_EQ(listener.values, entry.reports);
        EXPECT_EQ(latch->getValue(), entry.kept);
        EXPECT_EQ(latch->getLastState(), entry.kept);
        EXPECT_EQ(pixel(10, 10), entry.kept != 0.0f ? 1u : 0u);
    }
    latch->setValue(3.0f);
    latch->redraw();
    EXPECT_EQ(latch->getValue(), 1.0f);
}

TEST_F(SwitchKindsTest, AFrameAnimationOpensOnAClickAndShowsTheFrameAtItsPixelOffset) {
    Bitmap* strip = numberedStrip(stripId, 10, 4, 10);
    auto* animation = add(new FrameAnimation(Rect(0, 0, 10, 10), &listener, 1, 4, 10, strip));
    strip->forget();
    animation->setValue(20.0f);
    animation->redraw();
    EXPECT_EQ(pixel(0, 0), 0u) << "closed: frame 2 is not drawn over the black frame";

    click(Point(5, 5));
    EXPECT_TRUE(animation->isOpen());
    EXPECT_EQ(listener.values, Reports{0.0f}); // the old value was made -1
    animation->setValue(25.0f);
    animation->redraw();
    EXPECT_EQ(pixel(0, 0), 2u);
    EXPECT_EQ(pixel(0, 5), 3u);

    listener.values.clear();
    click(Point(5, 5));
    EXPECT_FALSE(animation->isOpen());
    EXPECT_EQ(pixel(0, 0), 0u); // frame 0 drawn as it closes
    EXPECT_TRUE(listener.values.empty());
}

TEST_F(SwitchKindsTest, FrameAnimationStepsVisitEveryFrameAndWrapAtBothEnds) {
    FrameAnimation animation(Rect(0, 0, 10, 10), nullptr, 1, 4, 10, nullptr);
    Reports forward;
    for (int step = 0; step < 5; ++step) {
        animation.nextPixmap();
        forward.push_back(animation.getValue());
    }
    EXPECT_EQ(forward, (Reports{10, 20, 30, 0, 10}));
    animation.setValue(0.0f);
    Reports backward;
    for (int step = 0; step < 5; ++step) {
        animation.previousPixmap();
        backward.push_back(animation.getValue());
    }
    EXPECT_EQ(backward, (Reports{30, 20, 10, 0, 30}));
    animation.setValue(15.0f); // between frame starts: frame 1
    animation.nextPixmap();
    EXPECT_EQ(animation.getValue(), 20.0f);
    animation.setValue(-7.0f);
    animation.previousPixmap();
    EXPECT_EQ(animation.getValue(), 30.0f);
    FrameAnimation empty(Rect(0, 0, 10, 10), nullptr, 1, 0, 10, nullptr);
    empty.setValue(5.0f);
    empty.nextPixmap();
    EXPECT_EQ(empty.getValue(), 0.0f);
}

} // namespace
