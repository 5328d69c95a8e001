// The digit display and the level meter: the digits and LEDs they show for a value.
#include "FrameFixture.h"

#include "gui/DigitDisplay.h"
#include "gui/LevelMeter.h"

#include <string>

namespace {

constexpr std::int32_t digitsId = 3700;
constexpr std::int32_t onId = 3701;
constexpr std::int32_t offId = 3702;
constexpr std::uint32_t lit = 0x00FF00;
constexpr std::uint32_t dark = 0x202020;
const std::int32_t places[] = {0, 1, 2, 3, 4, 5, 6, 7};
const std::int32_t row[] = {0, 0, 0, 0, 0, 0, 0, 0};

class DisplayKindsTest : public SoftwareTest {
protected:
    // The digits one display of one-pixel digits shows, side by side, as text.
    std::string shownDigits(std::int32_t digitCount, float value) {
        Bitmap* strip = numberedStrip(digitsId, 1, 10, 1);
        DigitDisplay display(Rect(0, 0, 8, 1), nullptr, 0, 0, digitCount, places, row, 1, 1, strip);
        strip->forget();
        display.setValue(value);
        Canvas canvas(8, 1, ColorGreen);
        display.draw(canvas.get());
        std::string text;
        for (std::int32_t x = 0; x < 8; ++x) {
            const std::uint32_t pixel = canvas.at(x, 0);
            text += pixel <= 9 ? static_cast<char>('0' + pixel) : '.';
        }
        return text;
    }
};

TEST_F(DisplayKindsTest, ADigitDisplayShowsEveryDigitOfTheValueLimitedToItsDigits) {
    struct Case {
        std::int32_t digits;
        float value;
        const char* shown;
    };
    const Case cases[] = {
        {3, 42.0f, "042....."},       {3, 1234.0f, "999....."}, {3, 7.9f, "007....."},
        {3, -3.0f, "000....."},       {1, 5.0f, "5......."},    {0, 5.0f, "........"},
        {8, 12345678.0f, "9999999."}, // eight digits are reduced to seven
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.value);
        EXPECT_EQ(shownDigits(entry.digits, entry.value), entry.shown);
    }
}

TEST_F(DisplayKindsTest, ADigitDisplaysRangeAndNormalisedValueFollowItsDigits) {
    DigitDisplay display(Rect(0, 0, 3, 1), nullptr, 0, 250, 3, nullptr, nullptr, 1, 1, nullptr);
    EXPECT_EQ(display.getValue(), 250.0f);
    EXPECT_EQ(display.getMin(), 0.0f);
    EXPECT_EQ(display.getMax(), 999.0f);
    EXPECT_NEAR(display.getNormValue(), 250.0f / 999.0f, 1e-7);
    display.setValue(5000.0f);
    EXPECT_EQ(display.getNormValue(), 1.0f);
    display.setValue(-1.0f);
    EXPECT_EQ(display.getNormValue(), 0.0f);
    Canvas canvas(3, 1);
    display.draw(canvas.get()); // no bitmap: nothing drawn, no failure
    EXPECT_EQ(display.getOldValue(), -1.0f);
}

// A meter of 10 pixels with 5 LEDs: lit pixels as '#', dark ones as '-'.
std::string meterPicture(std::int32_t style, float value) {
    const bool horizontal = (style & LevelMeterHorizontal) != 0;
    const std::int32_t width = horizontal ? 10 : 1;
    const std::int32_t height = horizontal ? 1 : 10;
    software::installBitmapPixels(onId, width, height, std::vector<std::uint32_t>(10, lit));
    software::installBitmapPixels(offId, width, height, std::vector<std::uint32_t>(10, dark));
    Bitmap* on = new Bitmap(onId);
    Bitmap* off = new Bitmap(offId);
    LevelMeter meter(Rect(0, 0, width, height), on, off, 5, style);
    on->forget();
    off->forget();
    meter.setValue(value);
    Canvas canvas(width, height);
    meter.draw(canvas.get());
    std::string text = picture(canvas.pixels(), {{lit, '#'}, {dark, '-'}});
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
}

TEST_F(DisplayKindsTest, ALevelMeterLightsWholeLedsFromItsStart) {
    struct Case {
        std::int32_t style;
        float value;
        const char* shown; // horizontal left to right, vertical top to bottom
    };
    const Case cases[] = {
        {LevelMeterHorizontal, 0.0f, "----------"},
        {LevelMeterHorizontal, 0.29f, "##--------"},
        {LevelMeterHorizontal, 0.5f, "######----"},
        {LevelMeterHorizontal, 1.0f, "##########"},
        {LevelMeterHorizontal, 3.0f, "##########"},
        {0, 0.0f, "----------"},
        {0, 0.5f, "------####"}, // the dark part is rounded: 2.5 LEDs to 3
        {0, 0.7f, "----######"},
        {0, 1.0f, "##########"},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.style << ", " << entry.value);
        EXPECT_EQ(meterPicture(entry.style, entry.value), entry.shown);
    }
}

TEST_F(DisplayKindsTest, AFallingLevelSinksByTheDecayPerDrawAndIsStoredAsTheValue) {
    software::installBitmapPixels(onId, 1, 10, std::vector<std::uint32_t>(10, lit));
    software::installBitmapPixels(offId, 1, 10, std::vector<std::uint32_t>(10, dark));
    Bitmap* on = new Bitmap(onId);
    Bitmap* off = new Bitmap(offId);
    LevelMeter meter(Rect(0, 0, 1, 10), on, off, 10);
    on->forget();
    off->forget();
    meter.setDecay(0.1f);
    Canvas canvas(1, 10);
    meter.setValue(1.0f);
    meter.draw(canvas.get());
    std::vector<float> shown;
    for (int draw = 0; draw < 4; ++draw) {
        meter.setValue(0.0f);
        meter.draw(canvas.get());
        shown.push_back(meter.getValue());
    }
    ASSERT_EQ(shown.size(), 4u);
    for (std::size_t index = 0; index < shown.size(); ++index) {
        EXPECT_NEAR(shown[index], 0.9f - 0.1f * static_cast<float>(index), 1e-6) << index;
    }
    EXPECT_EQ(extentOf(canvas.pixels(), lit), Rect(0, 4, 1, 10)); // 0.6: six LEDs
    meter.setValue(0.95f);                                        // a rising value shows at once
    meter.draw(canvas.get());
    EXPECT_EQ(meter.getValue(), 0.95f);
}

TEST_F(DisplayKindsTest, ALevelMeterWithoutItsOnBitmapDrawsNothing) {
    LevelMeter meter(Rect(0, 0, 4, 4), nullptr, nullptr, 0);
    meter.setValue(0.5f);
    Canvas canvas(4, 4, ColorGreen);
    meter.draw(canvas.get());
    EXPECT_EQ(extentOf(canvas.pixels(), ColorGreen.colorValue()), Rect(0, 0, 4, 4));
}

} // namespace
