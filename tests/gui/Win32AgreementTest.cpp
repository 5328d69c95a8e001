// The software backend against the platform's own graphics: the Windows test program's
// pictures of the named drawing sequences (folder in VELTRANE_WIN32_RENDERS) must equal the
// software backend's pixel for pixel (arcs and pies included); text must sit in the same place
// with the same extent.
// Skipped when no such folder is given (the Windows build's test runs this one).
#include "DrawingSequences.h"
#include "PixelFile.h"
#include "SequenceBitmaps.h"
#include "SoftwareCanvas.h"

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

bool readPixels(const std::string& path, software::Image& image) {
    PixelFile picture;
    if (!readPixelFile(path, picture)) {
        return false;
    }
    image.width = picture.width;
    image.height = picture.height;
    image.pixels = std::move(picture.pixels);
    return true;
}

// Up to ten differing pixels, as "(x, y) software / platform".
std::string describeDifferences(const software::Image& software, const software::Image& win32) {
    std::ostringstream text;
    int shown = 0;
    int total = 0;
    for (std::int32_t y = 0; y < software.height; ++y) {
        for (std::int32_t x = 0; x < software.width; ++x) {
            if (software.at(x, y) != win32.at(x, y)) {
                if (shown++ < 10) {
                    text << "(" << x << ", " << y << ") " << std::hex << software.at(x, y) << " / "
                         << win32.at(x, y) << std::dec << "\n";
                }
                ++total;
            }
        }
    }
    text << total << " pixels differ";
    return text.str();
}

TEST(Win32AgreementTest, BothBackendsDrawTheSamePixels) {
    const char* folder = std::getenv("VELTRANE_WIN32_RENDERS");
    if (folder == nullptr || *folder == '\0') {
        GTEST_SKIP() << "VELTRANE_WIN32_RENDERS names no folder of Windows pictures";
    }
    for (std::int32_t index = 0; index < drawingSequenceCount(); ++index) {
        const DrawingSequence& sequence = drawingSequences()[index];
        SCOPED_TRACE(sequence.name);
        software::reset();
        ASSERT_TRUE(installSequenceBitmaps());
        software::Image win32;
        ASSERT_TRUE(readPixels(std::string(folder) + "/" + sequence.name + ".pixels", win32));
        Canvas canvas(sequence.width, sequence.height);
        sequence.draw(canvas.get());
        const software::Image ours = canvas.pixels();
        ASSERT_EQ(win32.width, ours.width);
        ASSERT_EQ(win32.height, ours.height);
        if (sequence.exact) {
            EXPECT_TRUE(ours == win32) << describeDifferences(ours, win32);
            continue;
        }
        // Text: every colour's extent, within a pixel.
        std::set<std::uint32_t> colors(ours.pixels.begin(), ours.pixels.end());
        colors.insert(win32.pixels.begin(), win32.pixels.end());
        for (std::uint32_t color : colors) {
            const Rect expected = extentOf(ours, color);
            const Rect actual = extentOf(win32, color);
            if (expected.width() == 0 || actual.width() == 0) {
                continue; // a colour only one renderer's smoothing produced
            }
            SCOPED_TRACE(color);
            EXPECT_NEAR(actual.left, expected.left, 1);
            EXPECT_NEAR(actual.top, expected.top, 1);
            EXPECT_NEAR(actual.right, expected.right, 1);
            EXPECT_NEAR(actual.bottom, expected.bottom, 1);
        }
    }
}

} // namespace
