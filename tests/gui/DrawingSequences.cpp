#include "DrawingSequences.h"

#include "gui/Bitmap.h"
#include "gui/ChoiceMenu.h"
#include "gui/DigitDisplay.h"
#include "gui/DrawContext.h"
#include "gui/HorizontalMultiSwitch.h"
#include "gui/HorizontalSlider.h"
#include "gui/LatchButton.h"
#include "gui/LevelMeter.h"
#include "gui/RockerButton.h"
#include "gui/TextEntry.h"
#include "gui/ToggleButton.h"
#include "gui/VerticalSlider.h"

namespace {

void lines(DrawContext* context) {
    context->setFrameColor(ColorWhite);
    const Point ends[] = {Point(31, 0), Point(31, 10), Point(26, 31), Point(20, 31),
                          Point(0, 31), Point(0, 20),  Point(0, 7),   Point(10, 0)};
    for (const Point& end : ends) {
        context->moveTo(Point(16, 16));
        context->lineTo(end);
    }
    context->setFrameColor(ColorRed);
    const Point zigzag[] = {Point(2, 2), Point(12, 4), Point(3, 9), Point(3, 3)};
    context->drawPolyline(zigzag, 4);
}

void rectangles(DrawContext* context) {
    context->setFillColor(ColorWhite);
    context->fillRect(Rect(0, 0, 10, 10));
    context->setFrameColor(ColorRed);
    context->drawRect(Rect(12, 0, 22, 10));
    context->setFillColor(ColorBlue);
    context->fillRect(Rect(24, 2, 30, 3));
    context->fillRect(Rect(30, 12, 25, 20)); // inverted: nothing
    context->setFrameColor(ColorGreen);
    context->drawRect(Rect(2, 14, 2, 20)); // a line both ways
    context->drawPoint(Point(8, 16), ColorYellow);
    context->drawPoint(Point(9, 16), Color{1, 2, 3, 200});
}

void dottedLines(DrawContext* context) {
    context->setLineStyle(LineDotted);
    context->moveTo(Point(0, 1));
    context->lineTo(Point(31, 1));
    context->moveTo(Point(1, 3));
    context->lineTo(Point(1, 15));
    context->setLineStyle(LineSolid);
    context->setFrameColor(ColorCyan);
    context->moveTo(Point(4, 4));
    context->lineTo(Point(20, 12));
}

void polygons(DrawContext* context) {
    context->setFillColor(ColorMagenta);
    const Point triangle[] = {Point(2, 2), Point(28, 6), Point(8, 28)};
    context->fillPolygon(triangle, 3);
    context->setFillColor(ColorWhite);
    const Point square[] = {Point(20, 20), Point(30, 20), Point(30, 30), Point(20, 30)};
    context->fillPolygon(square, 4);
}

void ellipses(DrawContext* context) {
    context->setFillColor(ColorWhite);
    context->fillEllipse(Rect(0, 0, 15, 15));
    context->setFrameColor(ColorRed);
    context->drawEllipse(Rect(16, 0, 31, 11));
    context->setFillColor(ColorGreen);
    context->fillEllipse(Rect(0, 16, 9, 31));
}

void arcsAndPies(DrawContext* context) {
    context->setFrameColor(ColorWhite);
    context->drawArc(Rect(0, 0, 15, 15), Point(15, 7), Point(7, 0));
    context->setFillColor(ColorYellow);
    context->fillPie(Rect(16, 0, 31, 15), Point(31, 7), Point(16, 15));
    context->setFillColor(ColorBlue);
    context->fillPie(Rect(0, 16, 15, 31), Point(0, 16), Point(15, 31));
}

// Arcs whose radials fall on outline pixels, between them and on the centre, both ways round,
// the whole turn, and boxes of odd and even sizes down to a knob's.
void arcEnds(DrawContext* context) {
    context->setFrameColor(ColorWhite);
    context->drawArc(Rect(1, 1, 21, 15), Point(31, 8), Point(11, 2));  // quarter, exact ends
    context->drawArc(Rect(24, 1, 45, 16), Point(34, 1), Point(45, 8)); // three quarters
    context->drawArc(Rect(48, 1, 62, 14), Point(55, 7), Point(55, 7)); // radials through the centre
    context->setFrameColor(ColorYellow);
    context->drawArc(Rect(1, 18, 28, 45), Point(28, 40), Point(14, 31));  // end inside the box
    context->drawArc(Rect(31, 18, 58, 45), Point(14, 31), Point(28, 40)); // the other way round
    context->setFrameColor(ColorCyan);
    context->drawArc(Rect(1, 48, 10, 57), Point(5, 48),
                     Point(5, 60)); // left half of a small circle
    context->drawArc(Rect(13, 48, 20, 62), Point(16, 70), Point(16, 40)); // right half, odd width
    context->drawEllipse(Rect(24, 48, 33, 57));
    context->drawEllipse(Rect(36, 48, 61, 61));
    context->drawArc(Rect(1, 64, 29, 92), Point(30, 91), Point(29, 90));  // almost the whole turn
    context->drawArc(Rect(32, 64, 60, 92), Point(29, 90), Point(30, 91)); // a sliver
}

// Boxes of odd height, whose middle row's right pixel begins and ends the walk round: arcs that
// wrap through it, the whole turn from just above it and from the centre.
void arcMiddleRows(DrawContext* context) {
    context->setFrameColor(ColorWhite);
    context->drawArc(Rect(1, 1, 17, 15), Point(-20, 10), Point(40, 6));
    context->setFrameColor(ColorYellow);
    context->drawArc(Rect(20, 1, 40, 15), Point(60, 6), Point(60, 6));
    context->setFrameColor(ColorCyan);
    context->drawArc(Rect(44, 1, 52, 15), Point(48, 8), Point(48, 8));
}

// Pies between the same kinds of radials; filled without an outline.
void pieSectors(DrawContext* context) {
    context->setFillColor(ColorWhite);
    context->fillPie(Rect(0, 0, 21, 15), Point(31, 8), Point(11, 2));
    context->setFillColor(ColorYellow);
    context->fillPie(Rect(23, 0, 45, 16), Point(34, 1), Point(45, 8));
    context->setFillColor(ColorRed);
    context->fillPie(Rect(47, 0, 62, 14), Point(55, 7), Point(55, 7));
    context->setFillColor(ColorGreen);
    context->fillPie(Rect(0, 17, 28, 45), Point(28, 40), Point(14, 31));
    context->setFillColor(ColorCyan);
    context->fillPie(Rect(30, 17, 58, 45), Point(14, 31), Point(28, 40));
    context->setFillColor(ColorMagenta);
    context->fillPie(Rect(0, 47, 28, 75), Point(14, 47), Point(14, 47)); // the whole turn
    context->setFillColor(ColorBlue);
    context->fillPie(Rect(30, 47, 58, 75), Point(58, 75), Point(30, 75));
    context->setFillColor(ColorWhite);
    context->fillPie(Rect(0, 77, 12, 89), Point(12, 77), Point(0, 89)); // knob-sized halves
    context->fillPie(Rect(14, 77, 27, 90), Point(14, 90), Point(27, 77));
}

void textAlignments(DrawContext* context) {
    context->setFont(FontNormal);
    context->drawString("Left", Rect(0, 0, 64, 14), false, 0);
    context->setFontColor(ColorYellow);
    context->drawString("Centre", Rect(0, 14, 64, 28), false, AlignCentre);
    context->setFont(FontSystemBold);
    context->setFontColor(ColorCyan);
    context->drawString("Right", Rect(0, 28, 64, 42), false, AlignRight);
    context->setFont(FontSmall);
    context->setFillColor(ColorBlue);
    context->setFontColor(ColorWhite);
    context->drawString("800ms", Rect(0, 42, 64, 56), true, AlignCentre);
}

void bitmaps(DrawContext* context) {
    context->setFillColor(Color{0, 128, 64, 0});
    context->fillRect(Rect(-1, -1, 40, 30));
    Bitmap* palettised = new Bitmap(sequenceBitmapPalettised);
    Bitmap* trueColour = new Bitmap(sequenceBitmapTrueColour);
    palettised->draw(context, Rect(0, 0, 12, 10));
    palettised->drawTransparent(context, Rect(14, 0, 26, 10));
    trueColour->drawTransparent(context, Rect(28, 0, 40, 10));
    trueColour->drawTransparent(context, Rect(0, 12, 6, 18), Point(3, 2));
    trueColour->draw(context, Rect(8, 12, 14, 18), Point(6, 4));
    palettised->drawTransparent(context, Rect(16, 12, 28, 22)); // the kept mask
    palettised->forget();
    trueColour->forget();
}

// Sliders composed in an off-screen context with a transparent handle, at both ends and in the
// middle, and once with an opaque handle.
void sliders(DrawContext* context) {
    Bitmap* handle = new Bitmap(sequenceBitmapTrueColour);
    const float values[] = {0.0f, 0.5f, 1.0f};
    for (int index = 0; index < 3; ++index) {
        const std::int32_t left = index * 14;
        VerticalSlider slider(Rect(left, 0, left + 12, 40), nullptr, 0, 0, 30, handle, nullptr,
                              Point(), SliderOriginBottom);
        slider.setValue(values[index]);
        slider.draw(context);
    }
    HorizontalSlider slider(Rect(0, 42, 40, 52), nullptr, 0, 0, 28, handle, nullptr, Point(),
                            SliderOriginLeft);
    slider.setTransparentHandle(false);
    slider.setValue(0.5f);
    slider.draw(context);
    handle->forget();
}

// The kinds that show parts of a bitmap by value: a toggle, a two-position switch, a latch and a
// rocker on halves of the picture, ten one-pixel "digits" and a meter of four LEDs.
void bitmapKinds(DrawContext* context) {
    Bitmap* palettised = new Bitmap(sequenceBitmapPalettised);
    Bitmap* trueColour = new Bitmap(sequenceBitmapTrueColour);
    ToggleButton toggle(Rect(0, 0, 12, 5), nullptr, 0, trueColour);
    toggle.setValue(1.0f);
    toggle.draw(context);
    HorizontalMultiSwitch position(Rect(14, 0, 26, 5), nullptr, 0, 2, 5, 2, palettised);
    position.setValue(1.0f);
    position.draw(context);
    LatchButton latch(Rect(28, 0, 40, 5), nullptr, 0, 5, trueColour);
    latch.draw(context);
    RockerButton rocker(Rect(0, 7, 12, 10), nullptr, 0, 3, palettised, Point(0, 1));
    rocker.setValue(1.0f);
    rocker.draw(context);
    const std::int32_t xs[] = {14, 26, 38};
    const std::int32_t ys[] = {7, 7, 7};
    DigitDisplay digits(Rect(14, 7, 50, 8), nullptr, 0, 907, 3, xs, ys, 12, 1, trueColour);
    digits.draw(context);
    LevelMeter meter(Rect(0, 12, 12, 22), trueColour, palettised, 4, LevelMeterHorizontal);
    meter.setValue(0.5f);
    meter.draw(context);
    palettised->forget();
    trueColour->forget();
}

void textKinds(DrawContext* context) {
    TextEntry entry(Rect(0, 0, 64, 14), nullptr, 0, "Hall A", nullptr, StyleBevelFrameFirst);
    entry.setFrameColor(ColorGrey);
    entry.draw(context);
    ChoiceMenu menu(Rect(0, 16, 64, 30), nullptr, 0, nullptr, nullptr);
    menu.addEntry("Sine");
    menu.addEntry("Square");
    menu.setCurrent(1);
    menu.setHoriAlign(0);
    menu.draw(context);
}

const DrawingSequence sequences[] = {
    {"lines", 32, 32, true, lines},
    {"rectangles", 32, 24, true, rectangles},
    {"dotted_lines", 32, 16, true, dottedLines},
    {"polygons", 32, 32, true, polygons},
    {"ellipses", 32, 32, true, ellipses},
    {"arcs_and_pies", 32, 32, true, arcsAndPies},
    {"arc_ends", 64, 96, true, arcEnds},
    {"arc_middle_rows", 64, 16, true, arcMiddleRows},
    {"pie_sectors", 64, 92, true, pieSectors},
    {"text_alignments", 64, 56, false, textAlignments},
    {"bitmaps", 40, 24, true, bitmaps},
    {"sliders", 42, 52, true, sliders},
    {"bitmap_kinds", 52, 22, true, bitmapKinds},
    {"text_kinds", 64, 30, false, textKinds},
};

} // namespace

const DrawingSequence* drawingSequences() {
    return sequences;
}

std::int32_t drawingSequenceCount() {
    return static_cast<std::int32_t>(sizeof(sequences) / sizeof(sequences[0]));
}
