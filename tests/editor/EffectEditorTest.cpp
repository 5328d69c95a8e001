// The editor as a host and a user meet it: its rectangle and flags, both directions of
// parameter sync, the step lights, the panic and about buttons, the wave selectors and a
// hundred open/close cycles.
#include "EditorFixture.h"

#include "editor/IconSelector.h"
#include "gui/SplashOverlay.h"
#include "gui/StripDisplay.h"
#include "gui/StripKnob.h"
#include "gui/ValueDisplay.h"

#include <cmath>
#include <cstring>
#include <string>
#include <thread>

namespace {

using namespace ParameterIndex;

// The layout's places of the controls used here.
constexpr std::size_t kAboutPlace = 0;
constexpr std::size_t kPanicPlace = 1;
constexpr std::size_t kFirstLightPlace = EditorLayout::kControlCount - kNumSteps;
const Rect kAboutButton(583, 46, 643, 86);
const Point kFilt0Centre(107, 125); // knob at (93, 111)

std::string textOf(ValueDisplay* display) {
    char text[StringConvertSize] = {};
    if (display->getStringConvert() != nullptr) {
        display->getStringConvert()(display->getValue(), text);
    }
    return text;
}

// The rectangle holding every pixel that differs between two pictures; empty when none does.
Rect changedArea(const software::Image& before, const software::Image& after) {
    Rect area(before.width, before.height, -1, -1);
    for (std::int32_t y = 0; y < before.height; ++y) {
        for (std::int32_t x = 0; x < before.width; ++x) {
            if (before.at(x, y) != after.at(x, y)) {
                area.set(std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
                         std::max(area.bottom, y + 1));
            }
        }
    }
    return area.right < 0 ? Rect() : area;
}

bool changedWithin(const software::Image& before, const software::Image& after,
                   std::initializer_list<Rect> allowed) {
    for (std::int32_t y = 0; y < before.height; ++y) {
        for (std::int32_t x = 0; x < before.width; ++x) {
            if (before.at(x, y) == after.at(x, y)) {
                continue;
            }
            bool inside = false;
            for (const Rect& rect : allowed) {
                inside = inside ||
                         (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom);
            }
            if (!inside) {
                return false;
            }
        }
    }
    return true;
}

bool changedIn(const software::Image& before, const software::Image& after, const Rect& rect) {
    for (std::int32_t y = rect.top; y < rect.bottom; ++y) {
        for (std::int32_t x = rect.left; x < rect.right; ++x) {
            if (before.at(x, y) != after.at(x, y)) {
                return true;
            }
        }
    }
    return false;
}

class EffectEditorTest : public EditorTest {};

TEST_F(EffectEditorTest, TheRecordHasAnEditorOf752By512BeforeItIsOpened) {
    EXPECT_EQ(record->flags, 0x19);
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 512);
    EXPECT_EQ(rect->right, 752);
}

TEST_F(EffectEditorTest, AHostChangeReachesTheControlsAtOnceAndIsDrawnAtTheNextIdle) {
    openEditor();
    idle();
    const software::Image before = picture();
    setParameter(line(0, Delay), 0.33333f);
    Control* knob = mainControl(line(0, Delay));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.333f); // as the effect stores it, quantised
    EXPECT_TRUE(picture() == before);
    idle();
    EXPECT_FALSE(picture() == before);
}

TEST_F(EffectEditorTest, ADelayOfAThirdShows666Milliseconds) {
    openEditor();
    setParameter(line(0, Delay), 0.33333f);
    ValueDisplay* display = displayOf(line(0, Delay));
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->getValue(), 666.0f);
    EXPECT_EQ(textOf(display), "666ms");
}

TEST_F(EffectEditorTest, TheStepCountRedrawsBothSequencerDisplaysTheShiftOnlyItsOwn) {
    openEditor();
    setParameter(fStepShift, 0.5f);
    idle();
    const Rect countKnob(116, 431, 144, 459), countDisplay(148, 444, 196, 456);
    const Rect shiftKnob(22, 470, 50, 498), shiftDisplay(54, 483, 102, 495);
    software::Image before = picture();
    setParameter(fNumSteps, 0.0f);
    idle();
    software::Image after = picture();
    EXPECT_TRUE(changedWithin(before, after, {countKnob, countDisplay, shiftDisplay}));
    EXPECT_TRUE(changedIn(before, after, countDisplay));
    EXPECT_TRUE(changedIn(before, after, shiftDisplay));
    before = after;
    setParameter(fStepShift, 0.25f);
    idle();
    after = picture();
    EXPECT_TRUE(changedWithin(before, after, {shiftKnob, shiftDisplay}));
    EXPECT_TRUE(changedIn(before, after, shiftDisplay));
}

TEST_F(EffectEditorTest, AProgramChangeMovesEveryMainControlAtTheNextIdle) {
    openEditor();
    idle();
    dispatch(effSetProgram, 0, 3);
    int waiting = 0;
    for (std::int32_t parameter = 0; parameter < kNumParameters; ++parameter) {
        Control* main = mainControl(parameter);
        EXPECT_EQ(main->getValue(), getParameter(parameter)) << parameter;
        waiting += main->getOldValue() != main->getValue() ? 1 : 0;
    }
    EXPECT_GT(waiting, 0);
    idle();
    for (std::int32_t index = 0; index < frame()->getViewCount(); ++index) {
        auto* shown = static_cast<Control*>(frame()->getView(index));
        if (dynamic_cast<IconSelector*>(shown) == nullptr) { // the selector leaves it to update
            EXPECT_EQ(shown->getOldValue(), shown->getValue()) << index;
        }
    }
}

TEST_F(EffectEditorTest, AChangeFromAnotherThreadWaitsForTheNextIdle) {
    openEditor();
    idle();
    Control* knob = mainControl(fBlend);
    const float before = knob->getValue();
    std::thread automation([this] { setParameter(fBlend, 0.875f); });
    automation.join();
    EXPECT_EQ(knob->getValue(), before);
    idle();
    EXPECT_EQ(knob->getValue(), 0.875f);
    EXPECT_EQ(knob->getOldValue(), 0.875f);
}

TEST_F(EffectEditorTest, AChangeWhileClosedIsShownByTheNextOpen) {
    openEditor();
    dispatch(effEditClose);
    EXPECT_EQ(frame(), nullptr);
    setParameter(line(0, InLR), 0.5f);
    idle(); // reaches no control
    openEditor();
    EXPECT_EQ(mainControl(line(0, InLR))->getValue(), 0.5f);
}

TEST_F(EffectEditorTest, ADraggedKnobReachesTheHostAsAutomationWithItsValue) {
    openEditor();
    idle();
    // fDelay_1's knob at (248, 201): from above its centre to right of it.
    const Point end(275, 215);
    drag(Point(262, 204), end);
    auto* knob = static_cast<StripKnob*>(mainControl(line(1, Delay)));
    ASSERT_FALSE(automations().empty());
    EXPECT_EQ(automations().back().index, line(1, Delay));
    EXPECT_EQ(automations().back().value, knob->pointToValue(end));
    EXPECT_NEAR(automations().back().value, 5.0f / 6.0f, 1e-6f);
    // The knob then shows what the effect stores: whole milliseconds.
    EXPECT_EQ(knob->getValue(), getParameter(line(1, Delay)));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.833f);
    EXPECT_EQ(textOf(displayOf(line(1, Delay))), "1666ms");
}

TEST_F(EffectEditorTest, AltClickSetsAKnobToTheMiddleAndTellsTheHost) {
    openEditor();
    setParameter(line(0, Filt), 0.0f);
    idle();
    click(kFilt0Centre, KeyAlt);
    EXPECT_EQ(getParameter(line(0, Filt)), 0.5f); // HighPass
    ASSERT_EQ(automations().size(), 1u);
    EXPECT_EQ(automations()[0], (Automation{line(0, Filt), 0.5f}));
    automations().clear();
    click(kFilt0Centre, KeyAlt); // already there: nothing to tell
    EXPECT_TRUE(automations().empty());
}

TEST_F(EffectEditorTest, ThePanicButtonClearsTheLinesOnPressAndAgainOnRelease) {
    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(effMainsChanged, 0, 1);
    openEditor();
    idle();
    std::vector<float> left(4096), right(4096), outLeft(4096), outRight(4096);
    auto run = [&](float level) {
        std::fill(left.begin(), left.end(), level);
        std::fill(right.begin(), right.end(), level);
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        record->processReplacing(record, inputs, outputs, 4096);
    };
    // While the button is held, loud audio goes into the lines; only the release's clear
    // removes it.
    onAutomation() = [&](const Automation& automation) {
        if (automation.index == kCommandResetEngine && automation.value == 1.0f) {
            run(0.5f);
        }
    };
    click(Point(530, 60));
    onAutomation() = nullptr;
    EXPECT_EQ(automations(), (std::vector<Automation>{{998, 1.0f}, {998, 0.0f}}));
    float loudest = 0.0f;
    for (int block = 0; block < 30; ++block) { // 2.5 s, past the longest delay
        run(0.0f);
        for (float sample : outLeft) {
            loudest = std::max(loudest, std::fabs(sample));
        }
    }
    EXPECT_LT(loudest, 1e-6f);
    EXPECT_EQ(control<Control>(kPanicPlace)->getValue(), 0.0f);
}

TEST_F(EffectEditorTest, TheAboutScreenCoversTheEditorUntilTheNextClickAnywhere) {
    openEditor();
    idle();
    const software::Image editorShown = picture();
    click(Point(600, 60));
    auto* about = control<SplashOverlay>(kAboutPlace);
    EXPECT_EQ(frame()->getModalView(), about);
    EXPECT_TRUE(about->getSize() == Rect(0, 0, 752, 512));
    const software::Image aboutShown = picture();
    EXPECT_TRUE(changedArea(editorShown, aboutShown) == Rect(0, 0, 752, 512));
    click(Point(107, 125)); // on a knob under the picture: closes the picture only
    EXPECT_EQ(frame()->getModalView(), nullptr);
    EXPECT_TRUE(about->getSize() == kAboutButton);
    EXPECT_EQ(automations(), (std::vector<Automation>{{999, 1.0f}, {999, 0.0f}}));
    idle();
    EXPECT_TRUE(picture() == editorShown);
}

TEST_F(EffectEditorTest, AWaveIconSelectsItsWaveAndTellsTheHost) {
    openEditor();
    idle();
    click(Point(615 + 3 * 25 + 8, 275 + 8)); // LFO 2, Saw up
    EXPECT_EQ(getParameter(lfo(1, LfoWave)), 0.75f);
    EXPECT_EQ(automations(), (std::vector<Automation>{{lfo(1, LfoWave), 0.75f}}));
}

TEST_F(EffectEditorTest, TheStepLightFollowsTheSequencerStep) {
    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    setParameter(fSyncBPM, 1.0f); // its own clock at 260 beats per minute
    setParameter(fNumSteps, 1.0f);
    setParameter(fStepShift, 0.0f);
    dispatch(effMainsChanged, 0, 1);
    openEditor();
    std::vector<float> silence(64), out(64);
    float* inputs[] = {silence.data(), silence.data()};
    float* outputs[] = {out.data(), out.data()};
    auto runUntilStep = [&](float step) {
        for (int block = 0; block < 100000 && getParameter(kQueryCurrentStep) != step; ++block) {
            record->processReplacing(record, inputs, outputs, 64);
        }
        ASSERT_EQ(getParameter(kQueryCurrentStep), step);
    };
    auto light = [this](std::int32_t step) {
        return control<StripDisplay>(kFirstLightPlace + static_cast<std::size_t>(step));
    };
    runUntilStep(3.0f);
    idle();
    const software::Image atThree = picture();
    for (std::int32_t step = 0; step < 16; ++step) {
        EXPECT_EQ(light(step)->getValue(), step == 3 ? 1.0f : 0.0f) << step;
    }
    runUntilStep(4.0f);
    idle();
    EXPECT_EQ(light(3)->getValue(), 0.0f);
    EXPECT_EQ(light(4)->getValue(), 1.0f);
    EXPECT_TRUE(changedWithin(atThree, picture(), {light(3)->getSize(), light(4)->getSize()}));
    EXPECT_TRUE(changedIn(atThree, picture(), light(3)->getSize()));
    EXPECT_TRUE(changedIn(atThree, picture(), light(4)->getSize()));
}

TEST_F(EffectEditorTest, AHundredCloseAndOpenCyclesLeaveNothingBehind) {
    openEditor();
    idle();
    dispatch(effEditClose);
    const std::int32_t objects = software::liveObjectCount();
    const std::int32_t contexts = software::liveContextCount();
    for (int cycle = 0; cycle < 100; ++cycle) {
        openEditor();
        idle();
        dispatch(effEditClose);
    }
    EXPECT_EQ(software::liveObjectCount(), objects);
    EXPECT_EQ(software::liveContextCount(), contexts);
    EXPECT_TRUE(software::childWindows(hostWindow).empty() ||
                software::isWindowDestroyed(software::childWindows(hostWindow).back()));
    EXPECT_FALSE(software::isClassRegistered(Frame::windowClassName()));
}

} // namespace
