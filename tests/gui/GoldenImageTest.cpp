// Pictures compared exactly with committed reference images in golden/.
#include "GoldenImage.h"
#include "DrawingSequences.h"
#include "SequenceBitmaps.h"
#include "SoftwareCanvas.h"

#include "gui/Bitmap.h"
#include "gui/Knob.h"
#include "gui/ValueDisplay.h"

#include <functional>
#include <string>

namespace {

void expectMatchesGolden(const std::string& name, const software::Image& image) {
    ::expectMatchesGolden(VELTRANE_GOLDEN_DIR, name, image, "veltrane_gui_tests");
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
