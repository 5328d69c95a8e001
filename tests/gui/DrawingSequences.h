// Named drawing sequences through the toolkit's drawing context. The golden-image tests draw
// them on the software backend; the Windows test program draws the same ones through the
// platform's own graphics, so that the two backends can be compared pixel for pixel.
#pragma once

#include <cstdint>

class DrawContext;

struct DrawingSequence {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    // Exact: pixel for pixel. Otherwise (text) every colour's extent within a pixel, as the
    // fonts differ in detail.
    bool exact;
    void (*draw)(DrawContext* context);
};

// Resource ids of the bitmaps in bitmaps/ that the sequences draw: an 8-bit palettised and a
// 24-bit file of the same picture.
constexpr std::int32_t sequenceBitmapPalettised = 3400;
constexpr std::int32_t sequenceBitmapTrueColour = 3401;

// Every sequence draws on a black canvas of its size.
const DrawingSequence* drawingSequences();
std::int32_t drawingSequenceCount();
