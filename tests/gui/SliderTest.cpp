// Sliders: where the handle is drawn for a value in each orientation, and how a scripted drag
// of the handle moves the value, with Shift for fine movement.
#include "FrameFixture.h"

#include "gui/HorizontalSlider.h"
#include "gui/VerticalSlider.h"

namespace {

constexpr std::int32_t handleId = 3600;
constexpr std::int32_t backgroundId = 3601;
constexpr std::uint32_t handleColor = 0x0000FF;
constexpr std::uint32_t backgroundColor = 0x332211;
constexpr std::uint32_t key = 0xFFFFFF;

using software::PointerStep;

// A vertical slider at (10, 10, 20, 70) and a horizontal one at (10, 80, 70, 90), both with the
// handle's travel from 10 to 60 (a range of 50) and a 10 x 10 handle with key-colour corners.
class SliderTest : public FrameFixture {
protected:
    void SetUp() override {
        FrameFixture::SetUp();
        std::vector<std::uint32_t> handlePixels(100, handleColor);
        for (std::size_t corner : {0, 9, 90, 99}) {
            handlePixels[corner] = key;
        }
        software::installBitmapPixels(handleId, 10, 10, handlePixels);
        software::installBitmapPixels(backgroundId, 60, 60,
                                      std::vector<std::uint32_t>(3600, backgroundColor));
        handle = new Bitmap(handleId);
        background = new Bitmap(backgroundId);
    }
    void TearDown() override {
        handle->forget();
        background->forget();
        FrameFixture::TearDown();
    }
    Slider* vertical(std::int32_t style) {
        return add(new VerticalSlider(Rect(10, 10, 20, 70), &listener, 1, 10, 60, handle,
                                      background, Point(), style));
    }
    Slider* horizontal(std::int32_t style) {
        return add(new HorizontalSlider(Rect(10, 80, 70, 90), &listener, 2, 10, 60, handle,
                                        background, Point(), style));
    }
    // Window coordinates of the handle's pixels inside the slider.
    Rect handleExtent(const Slider& slider) const {
        const software::Image window = software::windowPixels(frame->getSystemWindow());
        const Rect size = slider.getSize();
        software::Image inside;
        inside.width = size.right;
        inside.height = size.bottom;
        inside.pixels.assign(static_cast<std::size_t>(size.right * size.bottom), 0);
        for (std::int32_t y = size.top; y < size.bottom; ++y) {
            for (std::int32_t x = size.left; x < size.right; ++x) {
                inside.pixels[static_cast<std::size_t>(y * size.right + x)] = window.at(x, y);
            }
        }
        return extentOf(inside, handleColor);
    }

    Bitmap* handle = nullptr;
    Bitmap* background = nullptr;
};

TEST_F(SliderTest, TheHandleSitsAlongTheTrackWhereTheValueAndTheOriginSay) {
    struct Case {
        const char* name;
        bool isVertical;
        std::int32_t style;
        float value;
        Rect handle; // window coordinates, the key-colour corners left out of the extent
    };
    const Case cases[] = {
        {"vertical from the bottom, 0", true, SliderOriginBottom, 0.0f, Rect(10, 60, 20, 70)},
        {"vertical from the bottom, 0.5", true, SliderOriginBottom, 0.5f, Rect(10, 35, 20, 45)},
        {"vertical from the bottom, 1", true, SliderOriginBottom, 1.0f, Rect(10, 10, 20, 20)},
        {"vertical from the top, 0", true, SliderOriginTop, 0.0f, Rect(10, 10, 20, 20)},
        {"vertical from the top, 1", true, SliderOriginTop, 1.0f, Rect(10, 60, 20, 70)},
        {"vertical below 0 stays at the track's start", true, SliderOriginTop, -0.5f,
         Rect(10, 10, 20, 20)},
        {"horizontal from the left, 0", false, SliderOriginLeft, 0.0f, Rect(10, 80, 20, 90)},
        {"horizontal from the left, 0.5", false, SliderOriginLeft, 0.5f, Rect(35, 80, 45, 90)},
        {"horizontal from the left, 1", false, SliderOriginLeft, 1.0f, Rect(60, 80, 70, 90)},
        {"horizontal from the right, 0", false, SliderOriginRight, 0.0f, Rect(60, 80, 70, 90)},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        Slider* slider = entry.isVertical ? vertical(entry.style) : horizontal(entry.style);
        slider->setValue(entry.value);
        slider->redraw();
        EXPECT_EQ(handleExtent(*slider), entry.handle);
        EXPECT_EQ(slider->getHandlePosition(),
                  entry.isVertical ? entry.handle.top : entry.handle.left);
        // The background fills the rest of the control; the handle's corners show it too.
        EXPECT_EQ(pixel(entry.handle.left, entry.handle.top), backgroundColor);
        frame->removeView(slider);
        delete slider;
    }
}

TEST_F(SliderTest, AnOpaqueHandleShowsItsKeyColourAndNoBackgroundLeavesBlack) {
    auto* slider = add(new VerticalSlider(Rect(10, 10, 20, 70), nullptr, 1, 10, 60, handle, nullptr,
                                          Point(), SliderOriginTop));
    slider->setTransparentHandle(false);
    slider->setHandleOffset(Point(0, 2));
    slider->redraw();
    EXPECT_EQ(pixel(10, 12), key);
    EXPECT_EQ(pixel(11, 12), handleColor);
    EXPECT_EQ(pixel(10, 10), ColorBlack.colorValue());
    EXPECT_EQ(pixel(15, 40), ColorBlack.colorValue());
}

TEST_F(SliderTest, DraggingTheHandleMovesTheValueWithThePointerAndShiftSlowsItTenfold) {
    struct Case {
        const char* name;
        bool isVertical;
        std::int32_t style;
        Point at;
        std::int32_t stateAtPress;
        std::vector<PointerStep> script;
        std::vector<float> reports;
    };
    // At value 0 the vertical handle (inverted tracking) spans 60 .. 70, the horizontal one
    // 10 .. 20; both are grabbed 5 pixels into the handle.
    const Case cases[] = {
        {"vertical, plain",
         true,
         SliderOriginBottom,
         Point(15, 65),
         MouseLeft,
         {{Point(15, 40), MouseLeft, 0}, {Point(15, 15), MouseLeft, 0}, {Point(15, 15), 0, 0}},
         {0.5f, 1.0f}},
        {"horizontal, plain",
         false,
         SliderOriginLeft,
         Point(15, 85),
         MouseLeft,
         {{Point(40, 85), MouseLeft, 0}, {Point(200, 85), MouseLeft, 0}, {Point(0, 85), 0, 0}},
         {0.5f, 1.0f}},
        {"Shift from the press",
         true,
         SliderOriginBottom,
         Point(15, 65),
         MouseLeft | KeyShift,
         {{Point(15, 15), MouseLeft | KeyShift, 0}, {Point(15, 15), 0, 0}},
         {0.1f}},
        {"Shift pressed mid-drag anchors at the value then",
         true,
         SliderOriginBottom,
         Point(15, 65),
         MouseLeft,
         {{Point(15, 40), MouseLeft, 0},
          {Point(15, 40), MouseLeft | KeyShift, 0},
          {Point(15, 15), MouseLeft | KeyShift, 0},
          {Point(15, 15), 0, 0}},
         {0.5f, 0.55f}},
        {"Shift let go and pressed again anchors again",
         false,
         SliderOriginLeft,
         Point(15, 85),
         MouseLeft | KeyShift,
         {{Point(65, 85), MouseLeft | KeyShift, 0},
          {Point(40, 85), MouseLeft, 0},
          {Point(40, 85), MouseLeft | KeyShift, 0},
          {Point(65, 85), MouseLeft | KeyShift, 0},
          {Point(65, 85), 0, 0}},
         {0.1f, 0.5f, 0.55f}},
        {"Control ends the drag",
         true,
         SliderOriginBottom,
         Point(15, 65),
         MouseLeft,
         {{Point(15, 40), MouseLeft, 0}, {Point(15, 15), MouseLeft | KeyControl, 0}},
         {0.5f}},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        Slider* slider = entry.isVertical ? vertical(entry.style) : horizontal(entry.style);
        listener.values.clear();
        press(entry.at, entry.stateAtPress, entry.script);
        ASSERT_EQ(listener.values.size(), entry.reports.size());
        for (std::size_t index = 0; index < entry.reports.size(); ++index) {
            EXPECT_NEAR(listener.values[index], entry.reports[index], 1e-6) << index;
        }
        EXPECT_EQ(software::remainingPointerSteps(), 0u);
        frame->removeView(slider);
        delete slider;
    }
}

TEST_F(SliderTest, PressesOffTheHandleOrWithOtherButtonsAreIgnoredAndAltClickGivesTheDefault) {
    Slider* slider = vertical(SliderOriginBottom);
    const std::vector<PointerStep> drag = {{Point(15, 20), MouseLeft, 0}, {Point(15, 20), 0, 0}};
    press(Point(15, 30), MouseLeft, drag); // the handle is at 60 .. 70
    press(Point(15, 65), MouseRight, drag);
    press(Point(15, 65), MouseLeft | KeyControl, drag);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(slider->getValue(), 0.0f);

    press(Point(15, 30), MouseLeft | KeyAlt, {});
    EXPECT_EQ(listener.values, std::vector<float>{0.5f});
}

} // namespace
