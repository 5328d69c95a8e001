// Bitmaps: loading from resources and BMP files, plain and transparent drawing, sharing.
#include "SoftwareCanvas.h"

#include "gui/Bitmap.h"

#include <vector>

namespace {

constexpr std::uint32_t red = 0x0000FF;
constexpr std::uint32_t blue = 0xFF0000;
constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t almostWhite = 0xFFFFFE; // (254, 255, 255)
constexpr std::int32_t testId = 3000;
constexpr std::int32_t missingId = 4000;

class BitmapTest : public SoftwareTest {};

void littleEndian(std::vector<unsigned char>& bytes, std::uint32_t value, int count) {
    for (int index = 0; index < count; ++index) {
        bytes.push_back(static_cast<unsigned char>(value >> (8 * index)));
    }
}

// A BMP file image with the given rows (top row first) of palette indices or colours.
std::vector<unsigned char> makeBmp(std::int32_t width, const std::vector<std::uint32_t>& pixels,
                                   int bitsPerPixel, bool topDown,
                                   const std::vector<std::uint32_t>& palette = {}) {
    const std::int32_t height = static_cast<std::int32_t>(pixels.size()) / width;
    const std::uint32_t rowBytes =
        (static_cast<std::uint32_t>(width) * bitsPerPixel / 8 + 3) / 4 * 4;
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(palette.size()) * 4;
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    std::vector<unsigned char> bytes = {'B', 'M'};
    littleEndian(bytes, offset + rowBytes * height, 4);
    littleEndian(bytes, 0, 4);
    littleEndian(bytes, offset, 4);
    littleEndian(bytes, 40, 4);
    littleEndian(bytes, static_cast<std::uint32_t>(width), 4);
    littleEndian(bytes, static_cast<std::uint32_t>(topDown ? -height : height), 4);
    littleEndian(bytes, 1, 2);
    littleEndian(bytes, static_cast<std::uint32_t>(bitsPerPixel), 2);
    littleEndian(bytes, 0, 4);
    littleEndian(bytes, rowBytes * height, 4);
    littleEndian(bytes, 2835, 4);
    littleEndian(bytes, 2835, 4);
    littleEndian(bytes, static_cast<std::uint32_t>(palette.size()), 4);
    littleEndian(bytes, 0, 4);
    for (std::uint32_t color : palette) { // stored blue, green, red, 0
        littleEndian(bytes, (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF), 4);
    }
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int32_t y = topDown ? row : height - 1 - row;
        std::uint32_t written = 0;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t value = pixels[static_cast<std::size_t>(y * width + x)];
            if (bitsPerPixel == 8) {
                bytes.push_back(static_cast<unsigned char>(value));
                written += 1;
            } else {
                bytes.push_back(static_cast<unsigned char>(value >> 16));
                bytes.push_back(static_cast<unsigned char>(value >> 8));
                bytes.push_back(static_cast<unsigned char>(value));
                written += 3;
            }
        }
        for (; written < rowBytes; ++written) {
            bytes.push_back(0);
        }
    }
    return bytes;
}

TEST(BmpDecodingTest, PalettisedAndTrueColourFilesDecodeInEitherRowOrder) {
    struct Case {
        const char* name;
        std::vector<unsigned char> file;
    };
    const std::vector<std::uint32_t> expected = {red, blue, white, 0x123456, 0, almostWhite};
    const std::vector<std::uint32_t> palette = {red, blue, white, 0x123456, 0, almostWhite};
    const std::vector<std::uint32_t> indices = {0, 1, 2, 3, 4, 5};
    const Case cases[] = {
        {"8-bit bottom-up", makeBmp(3, indices, 8, false, palette)},
        {"8-bit top-down", makeBmp(3, indices, 8, true, palette)},
        {"24-bit bottom-up", makeBmp(3, expected, 24, false)},
        {"24-bit top-down", makeBmp(3, expected, 24, true)},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        software::Image image;
        ASSERT_TRUE(software::decodeBmp(entry.file.data(), entry.file.size(), image));
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.pixels, expected);
    }
}

TEST(BmpDecodingTest, DamagedOrUnsupportedFilesAreRefused) {
    const std::vector<unsigned char> good = makeBmp(2, {red, blue, red, blue}, 24, false);
    std::vector<unsigned char> truncated(good.begin(), good.end() - 4);
    std::vector<unsigned char> notBmp = good;
    notBmp[0] = 'X';
    std::vector<unsigned char> compressed = good;
    compressed[30] = 1;
    std::vector<unsigned char> sixteenBit = good;
    sixteenBit[28] = 16;
    std::vector<unsigned char> hugeWidth = good;
    hugeWidth[21] = 0x7F;
    for (const auto* file : {&truncated, &notBmp, &compressed, &sixteenBit, &hugeWidth}) {
        software::Image image;
        EXPECT_FALSE(software::decodeBmp(file->data(), file->size(), image));
    }
    software::Image image;
    EXPECT_FALSE(software::decodeBmp(nullptr, 100, image));
}

TEST_F(BitmapTest, TheModulesOwnBackgroundLoadsAtItsSize) {
    Bitmap* background = new Bitmap(128);
    EXPECT_EQ(background->getWidth(), 752);
    EXPECT_EQ(background->getHeight(), 512);
    background->forget();
}

TEST_F(BitmapTest, AMissingResourceGivesAnEmptyBitmapThatDrawsNothing) {
    Bitmap* missing = new Bitmap(missingId);
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    Canvas canvas(4, 4, ColorGreen);
    missing->draw(canvas.get(), Rect(0, 0, 4, 4));
    missing->drawTransparent(canvas.get(), Rect(0, 0, 4, 4));
    EXPECT_EQ(extentOf(canvas.pixels(), ColorGreen.colorValue()), Rect(0, 0, 4, 4));
    missing->forget();
}

TEST_F(BitmapTest, InstalledFilesLoadLikeResources) {
    software::installBitmapFile(testId, makeBmp(2, {red, blue}, 24, false));
    Bitmap* bitmap = new Bitmap(testId + 0x10000); // only the low 16 bits name the resource
    EXPECT_EQ(bitmap->getWidth(), 2);
    EXPECT_EQ(bitmap->getHeight(), 1);
    bitmap->forget();
}

TEST_F(BitmapTest, DrawCopiesTheRegionAtTheOffsetUnchanged) {
    software::installBitmapPixels(testId, 3, 2, {red, blue, white, 1, 2, 3});
    Bitmap* bitmap = new Bitmap(testId);
    Canvas canvas(4, 3);
    bitmap->draw(canvas.get(), Rect(2, 1, 4, 3), Point(1, 0));
    const software::Image pixels = canvas.pixels();
    EXPECT_EQ(pixels.at(2, 1), blue);
    EXPECT_EQ(pixels.at(3, 1), white);
    EXPECT_EQ(pixels.at(2, 2), 2u);
    EXPECT_EQ(pixels.at(3, 2), 3u);
    EXPECT_EQ(pixels.at(1, 1), 0u);
    bitmap->forget();
}

TEST_F(BitmapTest, TransparentDrawingSkipsExactlyTheKeyColour) {
    struct Case {
        const char* name;
        std::vector<std::uint32_t> image;
        std::vector<std::uint32_t> expected; // over a blue target
    };
    const Case cases[] = {
        {"all key colour", {white, white, white}, {blue, blue, blue}},
        {"one short of white",
         {almostWhite, almostWhite, almostWhite},
         {almostWhite, almostWhite, almostWhite}},
        {"mixed", {white, red, 0}, {blue, red, 0}},
        {"near whites", {0xFEFFFF, white, 0xFFFEFF}, {0xFEFFFF, blue, 0xFFFEFF}},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name);
        software::reset();
        software::installBitmapPixels(testId, 3, 1, entry.image);
        Bitmap* bitmap = new Bitmap(testId);
        Canvas canvas(3, 1, ColorBlue);
        bitmap->drawTransparent(canvas.get(), Rect(0, 0, 3, 1));
        EXPECT_EQ(canvas.pixels().pixels, entry.expected);

        // The image itself is unchanged afterwards.
        Canvas plain(3, 1, ColorBlue);
        bitmap->draw(plain.get(), Rect(0, 0, 3, 1));
        EXPECT_EQ(plain.pixels().pixels, entry.image);
        bitmap->forget();
    }
}

TEST_F(BitmapTest, TransparentDrawingHonoursTheOffsetAndTheTargetPosition) {
    software::installBitmapPixels(testId, 3, 2, {red, white, blue, white, 2, 3});
    Bitmap* bitmap = new Bitmap(testId);
    Canvas canvas(5, 3, ColorGreen);
    bitmap->drawTransparent(canvas.get(), Rect(2, 1, 4, 3), Point(1, 0));
    const std::uint32_t green = ColorGreen.colorValue();
    const software::Image pixels = canvas.pixels();
    EXPECT_EQ(pixels.at(2, 1), green); // image (1, 0) is the key colour
    EXPECT_EQ(pixels.at(3, 1), blue);
    EXPECT_EQ(pixels.at(2, 2), 2u);
    EXPECT_EQ(pixels.at(3, 2), 3u);
    EXPECT_EQ(pixels.at(1, 1), green);
    EXPECT_EQ(pixels.at(4, 1), green);
    bitmap->forget();
}

TEST_F(BitmapTest, TheMaskIsMadeOnceAndNoTemporaryOutlivesADraw) {
    software::installBitmapPixels(testId, 2, 1, {white, red});
    Bitmap* bitmap = new Bitmap(testId);
    Canvas canvas(2, 1);
    const std::int32_t objects = software::liveObjectCount();
    const std::int32_t contexts = software::liveContextCount();
    bitmap->drawTransparent(canvas.get(), Rect(0, 0, 2, 1));
    EXPECT_EQ(software::liveObjectCount(), objects + 1); // the mask
    bitmap->drawTransparent(canvas.get(), Rect(0, 0, 2, 1));
    bitmap->draw(canvas.get(), Rect(0, 0, 2, 1));
    EXPECT_EQ(software::liveObjectCount(), objects + 1);
    EXPECT_EQ(software::liveContextCount(), contexts);
    bitmap->forget();
    EXPECT_EQ(software::liveObjectCount(), objects - 1); // image and mask gone
}

TEST_F(BitmapTest, TheLastForgetDestroysTheBitmap) {
    software::installBitmapPixels(testId, 1, 1, {red});
    const std::int32_t objects = software::liveObjectCount();
    Bitmap* bitmap = new Bitmap(testId);
    EXPECT_EQ(software::liveObjectCount(), objects + 1);
    bitmap->remember();
    bitmap->forget();
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    EXPECT_EQ(software::liveObjectCount(), objects + 1);
    bitmap->forget();
    EXPECT_EQ(software::liveObjectCount(), objects);
}

} // namespace
