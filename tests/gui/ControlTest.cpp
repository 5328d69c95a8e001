// The passive strip display, the momentary button, the pop-up picture and the value display.
#include "SoftwareCanvas.h"
#include "TestEditor.h"

#include "gui/Bitmap.h"
#include "gui/MomentaryButton.h"
#include "gui/SplashOverlay.h"
#include "gui/StripDisplay.h"
#include "gui/ValueDisplay.h"

#include <cstring>
#include <vector>

namespace {

constexpr std::int32_t bitmapId = 3200;

// A 1-pixel-wide strip of count frames of one pixel each, frame n in colour value n.
Bitmap* numberedStrip(std::int32_t count) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t frame = 0; frame < count; ++frame) {
        pixels.push_back(static_cast<std::uint32_t>(frame));
    }
    software::installBitmapPixels(bitmapId, 1, count, pixels);
    return new Bitmap(bitmapId);
}

class ControlTest : public SoftwareTest {};

TEST_F(ControlTest, AStripDisplayShowsTheNearestFrameAndStoresValuesAboveOneAsOne) {
    Bitmap* strip = numberedStrip(4);
    struct Case {
        float value;
        std::uint32_t frame;
        float stored;
    };
    const Case cases[] = {
        {0.0f, 0, 0.0f}, {0.16f, 0, 0.16f}, {0.17f, 1, 0.17f}, {0.5f, 2, 0.5f},
        {1.0f, 3, 1.0f}, {1.7f, 3, 1.0f},   {-0.4f, 0, -0.4f},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.value);
        StripDisplay display(Rect(0, 0, 1, 1), nullptr, 0, 4, 1, strip);
        display.setValue(entry.value);
        Canvas canvas(1, 1, ColorWhite);
        display.draw(canvas.get());
        EXPECT_EQ(canvas.at(0, 0), entry.frame);
        EXPECT_EQ(display.getValue(), entry.stored);
        EXPECT_EQ(display.getOldValue(), entry.stored);
    }
    strip->forget();
}

TEST_F(ControlTest, UpdateDrawsOnlyWhenTheValueDiffersFromTheLastDrawn) {
    Bitmap* strip = numberedStrip(4);
    StripDisplay display(Rect(0, 0, 1, 1), nullptr, 0, 4, 1, strip);
    strip->forget();
    Canvas canvas(1, 1, ColorWhite);
    display.update(canvas.get()); // a new control starts at -1: drawn
    EXPECT_EQ(canvas.at(0, 0), 0u);
    canvas->drawPoint(Point(0, 0), ColorWhite);
    display.update(canvas.get());
    EXPECT_EQ(canvas.at(0, 0), ColorWhite.colorValue());
    display.setValue(1.0f);
    display.update(canvas.get());
    EXPECT_EQ(canvas.at(0, 0), 3u);
}

// A momentary button at (10, 10, 20, 20) in a frame; the pointer follows a script.
class MomentaryButtonTest : public SoftwareTest {
protected:
    void SetUp() override {
        SoftwareTest::SetUp();
        host = software::createHostWindow(40, 40);
        frame = editor.openFrame(host, Rect(0, 0, 40, 40));
        Bitmap* strip = numberedStrip(20);
        button = new MomentaryButton(Rect(10, 10, 20, 20), &listener, 998, 10, strip);
        strip->forget();
        frame->addView(button);
    }
    void TearDown() override {
        editor.closeFrame();
        SoftwareTest::TearDown();
    }
    void press(std::int32_t state, const std::vector<software::PointerStep>& script) {
        software::setKeyState(state);
        software::scriptPointer(script);
        software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::LeftButtonDown,
                              inside);
    }

    const Point inside{15, 15};
    const Point outside{35, 35};
    RecordingListener listener;
    CountingEditor editor;
    platform::Window* host = nullptr;
    Frame* frame = nullptr;
    MomentaryButton* button = nullptr;
};

TEST_F(MomentaryButtonTest, ReportsThePressAndAlwaysTheReleaseAsZero) {
    struct Case {
        const char* name;
        std::int32_t stateAtPress;
        std::vector<software::PointerStep> script;
        std::vector<float> reports;
    };
    const Case cases[] = {
        {"pressed and released inside",
         MouseLeft,
         {{inside, MouseLeft, 5}, {inside, 0, 5}},
         {1, 0}},
        {"dragged out before the release",
         MouseLeft,
         {{outside, MouseLeft, 5}, {outside, 0, 5}},
         {1, 0, 0}},
        {"out and back in",
         MouseLeft,
         {{outside, MouseLeft, 5}, {inside, MouseLeft, 5}, {inside, 0, 5}},
         {1, 0, 1, 0}},
        {"released before the press arrived", 0, {}, {1, 0}},
        {"right button edges inclusive",
         MouseRight,
         {{Point(20, 20), MouseRight, 5}, {Point(21, 20), 0, 5}},
         {1, 0}},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        listener.values.clear();
        press(entry.stateAtPress, entry.script);
        EXPECT_EQ(listener.values, entry.reports);
        EXPECT_EQ(button->getValue(), 0.0f);
    }
}

TEST_F(MomentaryButtonTest, DrawsTheUpperFrameAtZeroAndTheLowerOtherwiseClampingTheValue) {
    struct Case {
        float value;
        std::uint32_t frame;
        float stored;
    };
    for (const Case& entry : {Case{0.0f, 0, 0.0f}, Case{1.0f, 10, 1.0f}, Case{0.3f, 10, 0.3f},
                              Case{7.0f, 10, 1.0f}, Case{-2.0f, 0, 0.0f}}) {
        SCOPED_TRACE(entry.value);
        button->setValue(entry.value);
        button->redraw();
        EXPECT_EQ(software::windowPixels(frame->getSystemWindow()).at(10, 10), entry.frame);
        EXPECT_EQ(button->getValue(), entry.stored);
    }
}

class SplashOverlayTest : public SoftwareTest {
protected:
    void SetUp() override {
        SoftwareTest::SetUp();
        host = software::createHostWindow(40, 40);
        frame = editor.openFrame(host, Rect(0, 0, 40, 40));
        software::installBitmapPixels(backgroundId, 40, 40,
                                      std::vector<std::uint32_t>(1600, backgroundColor));
        Bitmap* background = new Bitmap(backgroundId);
        frame->setBackground(background);
        background->forget();
        software::installBitmapPixels(bitmapId, 40, 40,
                                      std::vector<std::uint32_t>(1600, ColorRed.colorValue()));
        Bitmap* picture = new Bitmap(bitmapId);
        first = new SplashOverlay(Rect(0, 0, 5, 5), &listener, 999, picture, Rect(0, 0, 40, 40));
        second =
            new SplashOverlay(Rect(30, 30, 35, 35), &listener, 999, picture, Rect(0, 0, 40, 40));
        picture->forget();
        frame->addView(first);
        frame->addView(second);
        software::paint(frame->getSystemWindow());
    }
    void TearDown() override {
        editor.closeFrame();
        SoftwareTest::TearDown();
    }
    void click(Point point) {
        software::sendMessage(frame->getSystemWindow(), platform::WindowMessage::LeftButtonDown,
                              point);
    }
    std::uint32_t pixel(std::int32_t x, std::int32_t y) const {
        return software::windowPixels(frame->getSystemWindow()).at(x, y);
    }

    static constexpr std::int32_t backgroundId = 3201;
    static constexpr std::uint32_t backgroundColor = 0x010203;
    RecordingListener listener{false};
    CountingEditor editor;
    platform::Window* host = nullptr;
    Frame* frame = nullptr;
    SplashOverlay* first = nullptr;
    SplashOverlay* second = nullptr;
};

TEST_F(SplashOverlayTest, AClickShowsThePictureAndTheNextClickAnywhereHidesIt) {
    click(Point(2, 2));
    EXPECT_EQ(frame->getModalView(), first);
    EXPECT_EQ(first->getSize(), Rect(0, 0, 40, 40));
    EXPECT_EQ(pixel(20, 20), ColorRed.colorValue());
    EXPECT_EQ(listener.values, std::vector<float>({1.0f}));

    click(Point(25, 25));
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(first->getSize(), Rect(0, 0, 5, 5));
    EXPECT_EQ(pixel(20, 20), backgroundColor); // the frame is drawn again without it
    EXPECT_EQ(listener.values, std::vector<float>({1.0f, 0.0f}));
}

TEST_F(SplashOverlayTest, ASecondPictureCannotOpenWhileOneIsShownAndKeepsItsPlace) {
    click(Point(2, 2));
    ASSERT_EQ(frame->getModalView(), first);
    // The second is refused even when asked directly.
    Point where(32, 32);
    DrawContext context(frame, nullptr, nullptr);
    second->mouse(&context, where);
    EXPECT_EQ(frame->getModalView(), first);
    EXPECT_EQ(second->getValue(), 0.0f);
    EXPECT_EQ(second->getSize(), Rect(30, 30, 35, 35));
    EXPECT_EQ(listener.values, std::vector<float>({1.0f}));

    // Once the first is closed the second opens normally.
    click(Point(2, 2));
    click(Point(32, 32));
    EXPECT_EQ(frame->getModalView(), second);
}

class ValueDisplayTest : public SoftwareTest {};

void writeFixed(float value, char* text) {
    (void)value;
    std::strcpy(text, "12.50");
}

void writeHalf(float value, char* text) {
    (void)value;
    std::strcpy(text, "0.50");
}

void writeNothing(float value, char* text) {
    (void)value;
    (void)text;
}

void writeTooMuch(float value, char* text) {
    (void)value;
    std::memset(text, '8', StringConvertSize); // no terminator within the buffer
}

void writeWide(float value, char* text) {
    (void)value;
    std::strcpy(text, "  Delay > Filt  ");
}

software::Image drawDisplay(float value, StringConvert convert, std::int32_t style = 0) {
    ValueDisplay display(Rect(0, 0, 48, 14), nullptr, style);
    display.setValue(value);
    display.setStringConvert(convert);
    Canvas canvas(50, 16, ColorGreen);
    display.draw(canvas.get());
    return canvas.pixels();
}

TEST_F(ValueDisplayTest, WithoutAConverterTheValueIsWrittenWithTwoDecimals) {
    EXPECT_EQ(drawDisplay(0.5f, nullptr), drawDisplay(0.0f, writeHalf));
    EXPECT_EQ(drawDisplay(12.5f, nullptr), drawDisplay(0.0f, writeFixed));
    EXPECT_FALSE(drawDisplay(0.5f, nullptr) == drawDisplay(0.0f, writeFixed));
}

TEST_F(ValueDisplayTest, AConverterThatOverrunsItsBufferIsCutAtItsEnd) {
    const software::Image pixels = drawDisplay(0.0f, writeTooMuch);
    EXPECT_GT(extentOf(pixels, ColorWhite.colorValue()).width(), 0);
}

TEST_F(ValueDisplayTest, ATextWiderThanTheDisplayIsMadeSmallerInsteadOfLosingItsEdges) {
    const Rect ink = extentOf(drawDisplay(0.0f, writeWide), ColorWhite.colorValue());
    EXPECT_GT(ink.width(), 36);
    EXPECT_GE(ink.left, 1);
    EXPECT_LE(ink.right, 47);
}

TEST_F(ValueDisplayTest, ThePlainBackgroundIsFilledWithTheBackColourAndFramed) {
    ValueDisplay display(Rect(1, 1, 7, 5), nullptr, 0);
    display.setStringConvert(writeNothing);
    display.setBackColor(ColorGrey);
    display.setFrameColor(ColorWhite);
    Canvas canvas(9, 7);
    display.draw(canvas.get());
    const std::map<std::uint32_t, char> legend = {{ColorBlack.colorValue(), '.'},
                                                  {ColorGrey.colorValue(), 'g'},
                                                  {ColorWhite.colorValue(), 'w'}};
    EXPECT_EQ(picture(canvas.pixels(), legend), rows({
                                                    ".........",
                                                    ".wwwwwww.",
                                                    ".wgggggw.",
                                                    ".wgggggw.",
                                                    ".wgggggw.",
                                                    ".wwwwwww.",
                                                    ".........",
                                                }));
}

TEST_F(ValueDisplayTest, BevelsDrawTwoColouredEdgesAndNoFrame) {
    const std::map<std::uint32_t, char> legend = {{ColorBlack.colorValue(), '.'},
                                                  {ColorGrey.colorValue(), 'g'},
                                                  {ColorWhite.colorValue(), 'w'}};
    struct Case {
        const char* name;
        std::int32_t style;
        std::string expected;
    };
    // The inside is the grey back colour; the bevel's lines leave their end pixels out.
    const std::string backFirst = rows({
        ".........",
        ".ggggggg.",
        ".ggggggw.",
        ".ggggggw.",
        ".ggggggw.",
        ".gwwwwww.",
        ".........",
    });
    const std::string frameFirst = rows({
        ".........",
        ".wwwwwww.",
        ".wgggggg.",
        ".wgggggg.",
        ".wgggggg.",
        ".wgggggg.",
        ".........",
    });
    const Case cases[] = {
        {"back colour first", StyleBevelBackFirst, backFirst},
        {"frame colour first", StyleBevelFrameFirst, frameFirst},
        {"both: back colour first decides", StyleBevelBackFirst | StyleBevelFrameFirst, backFirst},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        ValueDisplay display(Rect(1, 1, 7, 5), nullptr, entry.style);
        display.setStringConvert(writeNothing);
        display.setBackColor(ColorGrey);
        display.setFrameColor(ColorWhite);
        Canvas canvas(9, 7);
        display.draw(canvas.get());
        EXPECT_EQ(picture(canvas.pixels(), legend), entry.expected);
    }
}

TEST_F(ValueDisplayTest, ShadowTextIsRedOnePixelRightAndDownUnderTheWhiteText) {
    const software::Image plain = drawDisplay(0.5f, nullptr);
    const software::Image shadowed = drawDisplay(0.5f, nullptr, StyleTextShadow);
    const Rect white = extentOf(shadowed, ColorWhite.colorValue());
    const Rect red = extentOf(shadowed, ColorRed.colorValue());
    EXPECT_EQ(white, extentOf(plain, ColorWhite.colorValue()));
    ASSERT_GT(red.width(), 0);
    EXPECT_EQ(red.right, white.right + 1);
    EXPECT_EQ(red.bottom, white.bottom + 1);
    EXPECT_EQ(extentOf(plain, ColorRed.colorValue()), Rect());
}

TEST_F(ValueDisplayTest, SettersRedrawAtTheNextUpdateOnlyWhenTheSettingChanges) {
    ValueDisplay display(Rect(0, 0, 48, 14), nullptr, 0);
    display.setValue(0.25f);
    Canvas canvas(50, 16);
    display.update(canvas.get());
    ASSERT_EQ(display.getOldValue(), 0.25f);

    struct Case {
        const char* name;
        void (*change)(ValueDisplay&);
        bool redraws;
    };
    const Case cases[] = {
        {"same font colour", [](ValueDisplay& d) { d.setFontColor(ColorWhite); }, false},
        {"same colour, other fourth byte",
         [](ValueDisplay& d) {
             d.setFontColor(Color{255, 255, 255, 7});
         },
         false},
        {"other font colour", [](ValueDisplay& d) { d.setFontColor(ColorYellow); }, true},
        {"same back colour", [](ValueDisplay& d) { d.setBackColor(ColorBlack); }, false},
        {"other frame colour", [](ValueDisplay& d) { d.setFrameColor(ColorGrey); }, true},
        {"other shadow colour", [](ValueDisplay& d) { d.setShadowColor(ColorBlue); }, true},
        {"same font", [](ValueDisplay& d) { d.setFont(FontNormal); }, false},
        {"other font", [](ValueDisplay& d) { d.setFont(FontTiny); }, true},
        {"same alignment", [](ValueDisplay& d) { d.setHoriAlign(AlignCentre); }, false},
        {"other alignment", [](ValueDisplay& d) { d.setHoriAlign(0); }, true},
        {"background offset", [](ValueDisplay& d) { d.setBackOffset(Point(1, 1)); }, false},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        entry.change(display);
        EXPECT_EQ(display.getOldValue() != display.getValue(), entry.redraws);
        display.update(canvas.get());
        EXPECT_EQ(display.getOldValue(), display.getValue());
    }
}

} // namespace
