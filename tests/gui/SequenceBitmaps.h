// Test support: installs the drawing sequences' bitmaps from bitmaps/ in the software backend,
// as the Windows test program has them in its resources.
#pragma once

#include "DrawingSequences.h"

#include "gui/software/SoftwarePlatform.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline bool installSequenceBitmaps() {
    const struct {
        std::int32_t id;
        const char* file;
    } files[] = {{sequenceBitmapPalettised, "palettised.bmp"},
                 {sequenceBitmapTrueColour, "true_colour.bmp"}};
    for (const auto& entry : files) {
        std::ifstream stream(std::string(VELTRANE_SEQUENCE_BITMAPS) + "/" + entry.file,
                             std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(stream)),
                                               std::istreambuf_iterator<char>());
        if (bytes.empty()) {
            return false;
        }
        software::installBitmapFile(entry.id, bytes);
    }
    return true;
}
