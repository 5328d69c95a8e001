// The module's bitmaps 128..147 as BMP file images, for platforms whose modules carry no
// resource section. The Windows DLLs link the same files through the resource script instead.
#pragma once

#include <cstddef>

struct BitmapResource {
    const unsigned char* data = nullptr; // a whole .bmp file, header included
    std::size_t size = 0;
};

// The bitmap with the given resource id, or an empty record when there is none.
BitmapResource findBitmapResource(int id);
