// The fonts the software backend draws text with, carried inside the program as TrueType file
// images, so that no font file of the user's machine is ever read: Liberation Sans (regular
// and bold), metric-compatible with the platform's "Arial", and DejaVu Sans for "Symbol".
#pragma once

#include <cstddef>

enum class EmbeddedFont { Regular, Bold, Symbol };

struct FontFile {
    const unsigned char* data = nullptr; // a whole .ttf file
    std::size_t size = 0;
};

FontFile embeddedFont(EmbeddedFont font);
