// Pictures compared exactly with committed reference images in golden/. A mismatch writes the
// actual picture and a difference picture next to the test program and says how to accept the
// new picture on purpose.
#include "DrawingSequences.h"
#include "SequenceBitmaps.h"
#include "SoftwareCanvas.h"

#include "gui/Bitmap.h"
#include "gui/Knob.h"
#include "gui/ValueDisplay.h"

#include <cstdlib>
#include <functional>
#include <string>

namespace {

// Compares image with golden/<name>.png; VELTRANE_UPDATE_GOLDEN=1 writes the reference instead.
void expectMatchesGolden(const std::string& name, const software::Image& image) {
    const std::string reference = std::string(VELTRANE_GOLDEN_DIR) + "/" + name + ".png";
    std::string error;
    const char* update = std::getenv("VELTRANE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        ASSERT_TRUE(software::writePng(image, reference, error)) << error;
        return;
    }
    software::Image expected;
    ASSERT_TRUE(software::readPng(reference, expected, error))
        << error << "\nTo create it: VELTRANE_UPDATE_GOLDEN=1 ./veltrane_gui_tests "
        << "--gtest_filter='*Golden*'";
    if (expected == image) {
        return;
    }
    software::Image difference = image;
    if (expected.width == image.width && expected.height == image.height) {
        for (std::size_t index = 0; index < difference.pixels.size(); ++index) {
            difference.pixels[index] = expected.pixels[index] == image.pixels[index] ? 0 : 0x0000FF;
        }
    }
    const std::string actualPath = name + ".actual.png";
    const std::string differencePath = name + ".difference.png";
    software::writePng(image, actualPath, error);
    software::writePng(difference, differencePath, error);
    ADD_FAILURE() << name << " differs from " << reference << "; wrote " << actualPath << " and "
                  << differencePath << " (red: differing pixels) in the test's folder.\n"
                  << "If the new picture is right: VELTRANE_UPDATE_GOLDEN=1 "
                  << "./veltrane_gui_tests --gtest_filter='*Golden*'";
}

class GoldenImageTest : public SoftwareTest {};

TEST_F(GoldenImageTest, NamedDrawingSequencesLookAsRecorded) {
    ASSERT_TRUE(installSequenceBitmaps());
    for (std::int32_t index = 0; index < drawingSequenceCount(); ++index) {
        const DrawingSequence& sequence = drawingSequences()[index];
        SCOPED_TRACE(sequence.name);
        Canvas canvas(sequence.width, sequence.height);
        sequence.draw(canvas.get());
        expectMatchesGolden(sequence.name, canvas.pixels());
    }
}

void noText(float value, char* text) {
    (void)value;
    text[0] = '\0';
}

void delayText(float value, char* text) {
    std::snprintf(text, StringConvertSize, "%dms", static_cast<int>(value * 2000));
}

TEST_F(GoldenImageTest, ValueDisplaysLookAsRecorded) {
    struct Case {
        const char* name;
        std::int32_t style;
        StringConvert convert;
        std::function<void(ValueDisplay&)> setUp;
    };
    const Case cases[] = {
        {"value_display_plain", 0, nullptr, [](ValueDisplay&) {}},
        {"value_display_shadow", StyleTextShadow, delayText, [](ValueDisplay&) {}},
        {"value_display_bevel", StyleBevelBackFirst, noText,
         [](ValueDisplay& display) {
             display.setBackColor(ColorGrey);
             display.setFrameColor(ColorWhite);
         }},
        {"value_display_small_left", 0, delayText,
         [](ValueDisplay& display) {
             display.setFont(FontSmall);
             display.setHoriAlign(0);
             display.setFontColor(Color{226, 208, 216, 0});
             display.setBackColor(Color{3, 3, 3, 0});
             display.setFrameColor(Color{89, 88, 117, 0});
         }},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        ValueDisplay display(Rect(2, 2, 50, 14), nullptr, entry.style);
        display.setValue(0.4f);
        display.setStringConvert(entry.convert);
        entry.setUp(display);
        Canvas canvas(52, 16, ColorGreen);
        display.draw(canvas.get());
        expectMatchesGolden(entry.name, canvas.pixels());
    }
}

TEST_F(GoldenImageTest, KnobHandlesSitWhereTheValueSays) {
    // A 5 x 5 round handle on the key colour.
    const std::uint32_t w = 0xFFFFFF;
    const std::uint32_t h = 0x2080FF;
    software::installBitmapPixels(
        3300, 5, 5, {w, h, h, h, w, h, h, h, h, h, h, h, 0, h, h, h, h, h, h, h, w, h, h, h, w});
    software::installBitmapPixels(3301, 33, 33, std::vector<std::uint32_t>(33 * 33, 0x303030));
    Bitmap* handle = new Bitmap(3300);
    Bitmap* background = new Bitmap(3301);
    struct Case {
        const char* name;
        float value;
    };
    for (const Case& entry :
         {Case{"knob_min", 0.0f}, Case{"knob_middle", 0.5f}, Case{"knob_max", 1.0f}}) {
        SCOPED_TRACE(entry.name);
        Knob knob(Rect(0, 0, 33, 33), nullptr, 0, background, handle);
        knob.setValue(entry.value);
        Canvas canvas(33, 33, ColorGreen);
        knob.draw(canvas.get());
        expectMatchesGolden(entry.name, canvas.pixels());
    }
    handle->forget();
    background->forget();
}

} // namespace
