// The whole editor as a person sees it, compared exactly with the committed pictures in
// golden/. veltrane-host --editor-png draws the same two (tests/tools).
#include "EditorFixture.h"

#include "tests/gui/GoldenImage.h"

namespace {

class EditorGoldenImageTest : public EditorTest {};

TEST_F(EditorGoldenImageTest, TheDefaultProgramLooksAsRecorded) {
    openEditor();
    idle();
    expectMatchesGolden(VELTRANE_EDITOR_GOLDEN_DIR, "editor_default_program", picture(),
                        "veltrane_editor_tests");
}

// fDelay_0's knob dragged from above its centre to the right of it: 1666 ms.
TEST_F(EditorGoldenImageTest, AKnobAfterADragLooksAsRecorded) {
    openEditor();
    idle();
    drag(Point(162, 204), Point(175, 215));
    idle();
    expectMatchesGolden(VELTRANE_EDITOR_GOLDEN_DIR, "editor_after_drag", picture(),
                        "veltrane_editor_tests");
}

} // namespace
