// The editor's window under the Win32 backend against the software backend: the Windows test
// program's pictures of three states (folder in VELTRANE_WIN32_EDITOR_PICTURES) must equal the
// software backend's pictures of the same states pixel for pixel, except inside the value
// displays, whose text the platform's font renderer draws in its own way.
// Skipped when no such folder is given (the Windows builds' comparison test gives one).
#include "EditorFixture.h"

#include "tests/gui/PixelFile.h"

#include <cstdlib>
#include <functional>
#include <sstream>

namespace {

class EditorWin32AgreementTest : public EditorTest {};

TEST_F(EditorWin32AgreementTest, ThePaintedWindowEqualsTheSoftwareBackendsTextAside) {
    const char* folder = std::getenv("VELTRANE_WIN32_EDITOR_PICTURES");
    if (folder == nullptr || *folder == '\0') {
        GTEST_SKIP() << "VELTRANE_WIN32_EDITOR_PICTURES names no folder of Windows pictures";
    }
    struct State {
        const char* name;
        std::function<void(EditorTest&)> reach;
    };
    // The gestures of EditorWindowTest.cpp, in the same order.
    const State states[] = {
        {"editor_default_program", [](EditorTest&) {}},
        {"editor_after_drag", [this](EditorTest&) { drag(Point(162, 204), Point(175, 215)); }},
        {"editor_about", [this](EditorTest&) { click(Point(600, 60)); }},
    };
    openEditor();
    idle();
    for (const State& state : states) {
        SCOPED_TRACE(state.name);
        state.reach(*this);
        idle();
        PixelFile win32;
        ASSERT_TRUE(readPixelFile(std::string(folder) + "/" + state.name + ".pixels", win32));
        const software::Image ours = picture();
        ASSERT_EQ(win32.width, ours.width);
        ASSERT_EQ(win32.height, ours.height);
        std::vector<Rect> text;
        for (const EditorLayout::ControlPlace& place : EditorLayout::controls()) {
            if (place.kind == EditorLayout::ControlKind::ValueDisplay) {
                text.push_back(place.rect);
            }
        }
        std::ostringstream differences;
        int count = 0;
        for (std::int32_t y = 0; y < ours.height; ++y) {
            for (std::int32_t x = 0; x < ours.width; ++x) {
                bool inText = false;
                for (const Rect& rect : text) {
                    inText = inText ||
                             (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom);
                }
                const std::uint32_t theirs =
                    win32.pixels[static_cast<std::size_t>(y) * win32.width + x];
                if (!inText && ours.at(x, y) != theirs && count++ < 10) {
                    differences << "(" << x << ", " << y << ") " << std::hex << ours.at(x, y)
                                << " / " << theirs << std::dec << "\n";
                }
            }
        }
        EXPECT_EQ(count, 0) << differences.str() << count << " pixels differ";
    }
}

} // namespace
