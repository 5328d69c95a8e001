// The drawing context's edge rules on the software backend, pictured pixel by pixel.
#include "SoftwareCanvas.h"

#include "gui/Frame.h"
#include "gui/OffscreenContext.h"
#include "gui/software/SoftwareObjects.h"

#include <algorithm>
#include <limits>

namespace {

const std::map<std::uint32_t, char> blackAndWhite = {{ColorBlack.colorValue(), '.'},
                                                     {ColorWhite.colorValue(), '#'}};

class DrawContextTest : public SoftwareTest {};

TEST_F(DrawContextTest, FillRectFillsTheInteriorOfTheOutlineOnly) {
    Canvas canvas(12, 12);
    canvas->setFillColor(ColorWhite);
    canvas->fillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(picture(canvas.pixels(), blackAndWhite), rows({
                                                           "............",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           ".#########..",
                                                           "............",
                                                           "............",
                                                       }));
}

TEST_F(DrawContextTest, DrawRectOutlinesOnBothEdgesOfTheRectangle) {
    Canvas canvas(12, 12);
    canvas->drawRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(picture(canvas.pixels(), blackAndWhite), rows({
                                                           "###########.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "#.........#.",
                                                           "###########.",
                                                           "............",
                                                       }));
}

TEST_F(DrawContextTest, LineToLeavesTheEndPixelOut) {
    Canvas canvas(8, 5);
    canvas->moveTo(Point(1, 1));
    canvas->lineTo(Point(6, 1));
    canvas->moveTo(Point(1, 3));
    canvas->lineTo(Point(1, 3)); // zero length: nothing
    canvas->moveTo(Point(6, 4));
    canvas->lineTo(Point(3, 4)); // leftwards
    EXPECT_EQ(picture(canvas.pixels(), blackAndWhite), rows({
                                                           "........",
                                                           ".#####..",
                                                           "........",
                                                           "........",
                                                           "....###.",
                                                       }));
}

TEST_F(DrawContextTest, DiagonalLinesStepOnePixelPerRow) {
    Canvas canvas(6, 6);
    canvas->moveTo(Point(0, 0));
    canvas->lineTo(Point(5, 5));
    canvas->moveTo(Point(5, 0));
    canvas->drawPolyline(nullptr, 3); // ignored
    const Point corner[] = {Point(5, 0), Point(5, 2)};
    canvas->drawPolyline(corner, 2);
    EXPECT_EQ(picture(canvas.pixels(), blackAndWhite), rows({
                                                           "#....#",
                                                           ".#...#",
                                                           "..#...",
                                                           "...#..",
                                                           "....#.",
                                                           "......",
                                                       }));
}

TEST_F(DrawContextTest, FillPolygonUsesTheBrushWithoutOutline) {
    Canvas canvas(8, 6);
    canvas->setFillColor(ColorWhite);
    canvas->setFrameColor(ColorRed);
    const Point square[] = {Point(1, 1), Point(6, 1), Point(6, 5), Point(1, 5)};
    canvas->fillPolygon(square, 4);
    EXPECT_EQ(picture(canvas.pixels(), blackAndWhite), rows({
                                                           "........",
                                                           ".#####..",
                                                           ".#####..",
                                                           ".#####..",
                                                           ".#####..",
                                                           "........",
                                                       }));
}

TEST_F(DrawContextTest, FilledEllipseAndPieStayInsideTheOutlineBox) {
    // A whole pie is filled like a polygon through the outline, so, as the platform draws it,
    // its right and bottom outline pixels stay out.
    struct Case {
        const char* name;
        bool pie;
        Rect extent;
    };
    for (const Case& shape :
         {Case{"ellipse", false, Rect(1, 1, 10, 10)}, Case{"pie", true, Rect(1, 1, 9, 9)}}) {
        SCOPED_TRACE(shape.name);
        Canvas canvas(12, 12);
        canvas->setFillColor(ColorWhite);
        const Rect box(0, 0, 10, 10);
        if (shape.pie) {
            canvas->fillPie(box, Point(10, 5), Point(10, 5));
        } else {
            canvas->fillEllipse(box);
        }
        const Rect extent = extentOf(canvas.pixels(), ColorWhite.colorValue());
        EXPECT_EQ(extent, shape.extent);
        EXPECT_EQ(canvas.at(5, 5), ColorWhite.colorValue());
        EXPECT_EQ(canvas.at(1, 1), ColorBlack.colorValue()); // the corner is outside
    }
}

TEST_F(DrawContextTest, PieCoversOnlyTheSectorBetweenItsRadials) {
    Canvas canvas(22, 22);
    canvas->setFillColor(ColorWhite);
    // Counter-clockwise from the right to the top: the upper right quarter.
    canvas->fillPie(Rect(0, 0, 20, 20), Point(20, 10), Point(10, 0));
    EXPECT_EQ(canvas.at(15, 5), ColorWhite.colorValue());
    EXPECT_EQ(canvas.at(5, 5), ColorBlack.colorValue());
    EXPECT_EQ(canvas.at(15, 15), ColorBlack.colorValue());
    EXPECT_EQ(canvas.at(5, 15), ColorBlack.colorValue());
}

TEST_F(DrawContextTest, DrawEllipseOutlinesTheBoxEdgesInclusive) {
    Canvas canvas(12, 12);
    canvas->drawEllipse(Rect(0, 0, 10, 10));
    const software::Image pixels = canvas.pixels();
    EXPECT_EQ(extentOf(pixels, ColorWhite.colorValue()), Rect(0, 0, 11, 11));
    EXPECT_EQ(pixels.at(5, 5), ColorBlack.colorValue()); // not filled
    EXPECT_EQ(pixels.at(4, 0), ColorWhite.colorValue());
    EXPECT_EQ(pixels.at(10, 5), ColorWhite.colorValue());
    // The arc starts and ends on the top centre and, like a line, leaves its last pixel out:
    // the one just before the start.
    EXPECT_EQ(pixels.at(5, 0), ColorWhite.colorValue());
    EXPECT_EQ(pixels.at(6, 0), ColorBlack.colorValue());
}

TEST_F(DrawContextTest, DrawPointSetsExactlyOnePixelAndIgnoresTheFourthByte) {
    Canvas canvas(3, 3);
    canvas->drawPoint(Point(1, 1), Color{1, 2, 3, 99});
    canvas->drawPoint(Point(-1, 7), ColorWhite); // outside: nothing
    const software::Image pixels = canvas.pixels();
    EXPECT_EQ(pixels.at(1, 1), 0x030201u);
    EXPECT_EQ(extentOf(pixels, 0x030201u), Rect(1, 1, 2, 2));
}

TEST_F(DrawContextTest, DottedLinesLeaveGaps) {
    Canvas canvas(20, 1);
    canvas->setLineStyle(LineDotted);
    canvas->moveTo(Point(0, 0));
    canvas->lineTo(Point(20, 0));
    const software::Image pixels = canvas.pixels();
    std::int32_t lit = 0;
    for (std::int32_t x = 0; x < 20; ++x) {
        lit += pixels.at(x, 0) == ColorWhite.colorValue() ? 1 : 0;
    }
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, 20);
    EXPECT_EQ(pixels.at(0, 0), ColorWhite.colorValue()); // the pattern starts on
}

TEST_F(DrawContextTest, DottedArcsLightAboutHalfTheOutlineStartingOn) {
    Canvas solid(40, 40);
    solid->drawEllipse(Rect(2, 2, 36, 30));
    Canvas dotted(40, 40);
    dotted->setLineStyle(LineDotted);
    dotted->drawEllipse(Rect(2, 2, 36, 30));
    auto lit = [](const software::Image& image) {
        std::int32_t count = 0;
        for (const std::uint32_t pixel : image.pixels) {
            count += pixel == ColorWhite.colorValue() ? 1 : 0;
        }
        return count;
    };
    const std::int32_t outline = lit(solid.pixels());
    EXPECT_NEAR(lit(dotted.pixels()), outline / 2, 3);
    EXPECT_EQ(dotted.at(19, 2), ColorWhite.colorValue()); // the walk starts at the top centre
}

TEST_F(DrawContextTest, ArcsAndPiesWithFarRadialsOrEmptyBoxesStayInsideTheirBox) {
    struct Case {
        const char* name;
        Rect box;
        Point from;
        Point to;
    };
    const std::int32_t far = std::numeric_limits<std::int32_t>::max();
    const std::int32_t farBack = std::numeric_limits<std::int32_t>::min();
    const Case cases[] = {
        {"far radials", Rect(2, 2, 20, 14), Point(far, farBack), Point(farBack, far)},
        {"radials through the centre", Rect(2, 2, 20, 14), Point(11, 8), Point(11, 8)},
        {"inverted box", Rect(20, 14, 2, 2), Point(far, 8), Point(2, far)},
        {"empty box", Rect(5, 5, 5, 12), Point(0, 0), Point(10, 10)},
        {"one pixel", Rect(5, 5, 6, 6), Point(0, 0), Point(10, 10)},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        Canvas canvas(24, 18);
        canvas->setFillColor(ColorRed);
        canvas->fillPie(entry.box, entry.from, entry.to);
        canvas->drawArc(entry.box, entry.from, entry.to);
        const software::Image pixels = canvas.pixels();
        const Rect box(std::min(entry.box.left, entry.box.right),
                       std::min(entry.box.top, entry.box.bottom),
                       std::max(entry.box.left, entry.box.right) + 1,
                       std::max(entry.box.top, entry.box.bottom) + 1);
        for (const std::uint32_t color : {ColorRed.colorValue(), ColorWhite.colorValue()}) {
            const Rect extent = extentOf(pixels, color);
            if (extent.width() > 0) {
                EXPECT_GE(extent.left, box.left);
                EXPECT_GE(extent.top, box.top);
                EXPECT_LE(extent.right, box.right);
                EXPECT_LE(extent.bottom, box.bottom);
            }
        }
    }
}

// The context's own objects go when it goes, and the device context gets its old ones back.
TEST_F(DrawContextTest, DestructionRestoresTheSelectionAndDeletesEveryObjectItMade) {
    platform::DeviceContext* device = software::createCanvas(4, 4, 0);
    platform::GraphicsObject* pen = platform::currentObject(device, platform::ObjectKind::Pen);
    platform::GraphicsObject* brush = platform::currentObject(device, platform::ObjectKind::Brush);
    platform::GraphicsObject* font = platform::currentObject(device, platform::ObjectKind::Font);
    const std::int32_t objectsBefore = software::liveObjectCount();
    {
        DrawContext context(nullptr, device, nullptr);
        context.setFrameColor(ColorRed);
        context.setLineWidth(2);
        context.setFillColor(ColorBlue);
        context.setFont(FontHuge);
        context.setFont(FontTiny);
        EXPECT_EQ(software::liveObjectCount(), objectsBefore + 3); // one of each at most
    }
    EXPECT_EQ(software::liveObjectCount(), objectsBefore);
    EXPECT_EQ(platform::currentObject(device, platform::ObjectKind::Pen), pen);
    EXPECT_EQ(platform::currentObject(device, platform::ObjectKind::Brush), brush);
    EXPECT_EQ(platform::currentObject(device, platform::ObjectKind::Font), font);
    software::deleteCanvas(device);
}

TEST_F(DrawContextTest, SetFontBuildsTheTableEntryAtTheRequestedHeight) {
    struct Case {
        std::int32_t fontId;
        std::int32_t height;
        const char* face;
        std::int32_t pixels;
        std::int32_t weight;
        std::uint8_t pitchAndFamily;
    };
    const Case cases[] = {
        {9, 0, "Arial", 12, 700, 34},           {-1, 0, "Arial", 12, 700, 34},
        {FontSmall, 0, "Arial", 11, 400, 34},   {FontTiny, 0, "Small Fonts", 9, 400, 34},
        {FontNormal, 16, "Arial", 16, 400, 34}, {FontSymbol, 0, "Symbol", 13, 400, 80},
        {FontHuge, 0, "Arial", 18, 400, 34},    {FontLarge, 0, "Arial", 14, 400, 34},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.fontId);
        Canvas canvas(2, 2);
        canvas->setFont(entry.fontId, entry.height);
        EXPECT_EQ(canvas->getFontSize(), entry.pixels);
        const platform::FontDescription& font =
            platform::currentObject(canvas.device(), platform::ObjectKind::Font)->font;
        EXPECT_STREQ(font.faceName, entry.face);
        EXPECT_EQ(font.height, -entry.pixels);
        EXPECT_EQ(font.weight, entry.weight);
        EXPECT_EQ(font.pitchAndFamily, entry.pitchAndFamily);
        EXPECT_EQ(font.outputPrecision, 1);
        EXPECT_EQ(font.clipPrecision, 2);
        EXPECT_EQ(font.quality, 0);
        EXPECT_EQ(font.characterSet, 0);
    }
}

TEST_F(DrawContextTest, LeftAlignedTextStartsOnePixelInsideTheRectangle) {
    // The same text drawn left-aligned at x and right-aligned in a rectangle that ends where
    // the left-aligned one ends: only the left inset separates them.
    Canvas left(60, 16);
    left->setFont(FontNormal);
    left->drawString("Hi", Rect(10, 0, 60, 16), false, 0);
    Canvas zeroWidth(60, 16);
    zeroWidth->setFont(FontNormal);
    zeroWidth->drawString("Hi", Rect(11, 0, 60, 16), false, 0);
    const Rect leftExtent = extentOf(left.pixels(), ColorWhite.colorValue());
    const Rect shiftedExtent = extentOf(zeroWidth.pixels(), ColorWhite.colorValue());
    ASSERT_GT(leftExtent.width(), 0);
    EXPECT_EQ(shiftedExtent.left, leftExtent.left + 1);
    EXPECT_GE(leftExtent.left, 11);

    // Centred and right-aligned text use the rectangle as given.
    Canvas centred(60, 16);
    centred->setFont(FontNormal);
    centred->drawString("Hi", Rect(10, 0, 50, 16), false, AlignCentre);
    const Rect centredExtent = extentOf(centred.pixels(), ColorWhite.colorValue());
    EXPECT_NEAR((centredExtent.left + centredExtent.right) / 2.0, 30.0, 2.0);
    Canvas right(60, 16);
    right->setFont(FontNormal);
    right->drawString("Hi", Rect(10, 0, 50, 16), false, AlignRight);
    EXPECT_LE(extentOf(right.pixels(), ColorWhite.colorValue()).right, 50);
    EXPECT_GE(extentOf(right.pixels(), ColorWhite.colorValue()).right, 47);
}

TEST_F(DrawContextTest, OpaqueTextFillsItsCellWithTheFillColourThenTurnsTransparentAgain) {
    Canvas canvas(40, 20);
    canvas->setFont(FontNormal);
    canvas->setFillColor(ColorBlue);
    canvas->drawString("88", Rect(0, 0, 40, 20), true, AlignCentre);
    EXPECT_GT(extentOf(canvas.pixels(), ColorBlue.colorValue()).width(), 0);
    EXPECT_EQ(canvas.device()->backgroundMode, platform::BackgroundMode::Transparent);
}

TEST_F(DrawContextTest, TextIsClippedToItsRectangle) {
    Canvas canvas(40, 20);
    canvas->setFont(FontHuge);
    canvas->drawString("WWWWWWWW", Rect(5, 5, 15, 15), false, AlignCentre);
    const Rect extent = extentOf(canvas.pixels(), ColorWhite.colorValue());
    EXPECT_GE(extent.left, 5);
    EXPECT_LE(extent.right, 15);
    EXPECT_GE(extent.top, 5);
    EXPECT_LE(extent.bottom, 15);
}

TEST_F(DrawContextTest, MouseButtonsCombineIntoTheStateWord) {
    Canvas canvas(1, 1);
    for (std::int32_t state : {0, 1, 2, 4, 8, 16, 32, 33, 63}) {
        software::setKeyState(state);
        EXPECT_EQ(canvas->getMouseButtons(), state);
    }
}

TEST_F(DrawContextTest, ADrawContextWithoutADeviceContextDrawsNothingAndDoesNotFail) {
    DrawContext context(nullptr, nullptr, nullptr);
    context.setFont(FontNormal);
    context.fillRect(Rect(0, 0, 4, 4));
    context.drawRect(Rect(0, 0, 4, 4));
    context.drawString("text", Rect(0, 0, 4, 4));
    context.drawString(nullptr, Rect(0, 0, 4, 4));
    context.fillEllipse(Rect(0, 0, 4, 4));
    EXPECT_EQ(context.getFontSize(), 12);
}

TEST(GeometryTest, PointInsideCountsTheRightAndBottomEdges) {
    const Rect rect(10, 10, 20, 20);
    struct Case {
        Point point;
        bool inside;
    };
    for (const Case& entry :
         {Case{Point(20, 20), true}, Case{Point(10, 10), true}, Case{Point(21, 20), false},
          Case{Point(20, 21), false}, Case{Point(9, 15), false}, Case{Point(15, 15), true}}) {
        EXPECT_EQ(rect.pointInside(entry.point), entry.inside)
            << entry.point.h << ", " << entry.point.v;
    }
}

TEST(GeometryTest, CornersInAnyOrderGiveTheSameRectangle) {
    Rect rect;
    EXPECT_EQ(rect.setFromCorners(30, 5, 10, 25), Rect(10, 5, 30, 25));
    EXPECT_EQ(rect.setFromCorners(10, 25, 30, 5), Rect(10, 5, 30, 25));
    EXPECT_EQ(rect.offset(-10, 5), Rect(0, 10, 20, 30));
    const Color color{1, 2, 3, 4};
    EXPECT_EQ(color.colorValue(), 0x030201u);
}

} // namespace

namespace {

class OffscreenContextTest : public SoftwareTest {};

TEST_F(OffscreenContextTest, StartsInItsBackgroundAndCopiesARegionToAnotherContext) {
    platform::Window* host = software::createHostWindow(20, 20);
    Frame frame(Rect(0, 0, 20, 20), host, nullptr);
    Canvas target(8, 6);
    const std::int32_t objects = software::liveObjectCount();
    const std::int32_t contexts = software::liveContextCount();
    {
        OffscreenContext offscreen(&frame, 6, 4, ColorBlue);
        EXPECT_EQ(offscreen.getWidth(), 6);
        offscreen.setFillColor(ColorRed);
        offscreen.fillRect(Rect(2, 0, 6, 4)); // red at x 3..5, y 1..3
        offscreen.copyFrom(target.get(), Rect(1, 1, 5, 4), Point(2, 1));
        offscreen.copyFrom(nullptr, Rect(0, 0, 1, 1));
    }
    const std::map<std::uint32_t, char> legend = {{ColorBlack.colorValue(), '.'},
                                                  {ColorBlue.colorValue(), 'b'},
                                                  {ColorRed.colorValue(), 'r'}};
    EXPECT_EQ(picture(target.pixels(), legend), rows({
                                                    "........",
                                                    ".brrr...",
                                                    ".brrr...",
                                                    ".brrr...",
                                                    "........",
                                                    "........",
                                                }));
    EXPECT_EQ(software::liveObjectCount(), objects);
    EXPECT_EQ(software::liveContextCount(), contexts);
}

TEST_F(OffscreenContextTest, WithoutAFrameWindowItStillDrawsInColour) {
    OffscreenContext offscreen(nullptr, 3, 3, ColorGreen);
    const software::Image pixels = software::contextPixels(offscreen.getDeviceContext());
    EXPECT_EQ(pixels.width, 3);
    EXPECT_EQ(extentOf(pixels, ColorGreen.colorValue()), Rect(0, 0, 3, 3));
}

TEST_F(OffscreenContextTest, AViewKeepsOnlyAnOffscreenContextLargeEnoughForIt) {
    View view(Rect(0, 0, 10, 10));
    OffscreenContext small(nullptr, 9, 10);
    OffscreenContext large(nullptr, 10, 12);
    view.setOffscreen(&small);
    EXPECT_EQ(view.getOffscreen(), nullptr);
    view.setOffscreen(&large);
    EXPECT_EQ(view.getOffscreen(), &large);
    view.setOffscreen(nullptr);
    EXPECT_EQ(view.getOffscreen(), &large);
}

} // namespace
